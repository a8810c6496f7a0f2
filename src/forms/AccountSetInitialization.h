#pragma once

#include <QString>

namespace tarnex {

class ServerConnection;

// Where a run of the account-set initialization shows its progress: the main window's status
// line and bar.
class InitializationDisplay
{
public:
    virtual ~InitializationDisplay() = default;
    // Shows the status line and the bar as they are, text and value untouched.
    virtual void showProgress() = 0;
    virtual void setProgress(int percent) = 0;
    virtual void setStatus(const QString& text) = 0;
    // Lets the window draw what changed (the run blocks the event loop otherwise).
    virtual void refresh() = 0;
};

// Resets the accounting package before an exam of "初级会计电算化": creates its folders on drive C,
// copies the report templates into the candidate folder and restores its ten databases on the
// server, showing the progress as it goes. Nothing is reported: a failure ends the file copies or
// skips one statement, and no server skips all of them. Every run repeats everything.
class AccountSetInitialization
{
public:
    AccountSetInitialization(ServerConnection& server, InitializationDisplay& display);

    // The whole run; it never throws.
    void run();

    // Creates the folders on drive C (WinePrefix), then copies the templates from the program
    // folder's template folder, in their order; throws AppError at the first folder or file that
    // fails, leaving the rest.
    static void prepareFiles(const QString& programDir);
    // Copies a whole file, replacing the target; the source must exist. A copy that fails half-way
    // leaves the target as it was.
    static void copyFile(const QString& source, const QString& target);

private:
    void restoreDatabases();

    ServerConnection& m_server;
    InitializationDisplay& m_display;
};

} // namespace tarnex
