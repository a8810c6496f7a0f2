#pragma once

#include <QString>

#include <exception>

namespace tarnex {

// The one error type of the data layer and the file helpers. Handlers let it pass; the
// application object shows its text in the error box and the program goes on.
class AppError : public std::exception
{
public:
    explicit AppError(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}

    const QString& message() const noexcept { return m_message; }
    const char* what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};

} // namespace tarnex
