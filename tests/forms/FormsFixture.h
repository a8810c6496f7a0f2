#pragma once

#include "BankFixture.h"
#include "support/TestFolder.h"

#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit_main.h"

#include "data/StoredText.h"
#include "platform/DesktopShortcut.h"
#include "platform/Dialogs.h"

#include <QComboBox>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace tarnex::test {

// A program folder with a bank, a fake probe and a desktop of the test's own; startProgram()
// creates the four windows the way the program entry does.
class FormsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dialogs::setTestMode(true);
        Dialogs::takeShown();
        NetworkProbe::setInstanceForTesting(&probe);
        ASSERT_TRUE(desktop.isValid());
        setDesktopFolderForTesting(desktop.path());
    }

    void TearDown() override
    {
        mainWindow.reset();
        NetworkProbe::setInstanceForTesting(nullptr);
        Dialogs::takeShown();
    }

    // The bank every test starts from unless it changes a value first.
    static QMap<QString, QString> standardMemo()
    {
        return {
            {QStringLiteral("行一"), EncodeStoredText(QStringLiteral("咨询电话：0531-1234567"))},
            {QStringLiteral("行二"), EncodeStoredText(QStringLiteral("  第二行，前后有空格 "))},
            {QStringLiteral("行三"), EncodeStoredText(QStringLiteral("地址：济南"))},
            {QStringLiteral("微博地址"), QString()},
            {QStringLiteral("版本说明"), EncodeStoredText(QStringLiteral("版本 2013\r\n修正了若干问题"))},
            {QStringLiteral("咨询辅导"), EncodeStoredText(QStringLiteral("辅导热线\r\n每周一至周五"))},
            {QStringLiteral("edit1"), QStringLiteral("会计从业资格考试模拟系统")},
            {QStringLiteral("edit2"), QStringLiteral("2013 新题")},
            {QStringLiteral("edit3"), QStringLiteral("模拟考试 V.2013")},
            {QStringLiteral("memo1"), QStringLiteral("第一套\r\n第二套\r\n第三套\r\n")},
        };
    }

    void writeFiles(const QMap<QString, QString>& memo = standardMemo())
    {
        writeQuestionBank(folder.path(), memo);
        writePaperLists(folder.path(), QStringLiteral("基础一\r\n基础二"),
                        QStringLiteral("法规一\n法规二\n\n法规四"));
    }

    void startProgram(ProgramMode mode = ProgramMode::Candidate)
    {
        mainWindow = std::make_unique<TForm_main>(mode);
        new TForm1(mainWindow.get());
        new TForm2(mainWindow.get(), mode);
        new TForm3(mainWindow.get(), mode);
    }

    static QStringList items(const QComboBox* combo)
    {
        QStringList list;
        for (int i = 0; i < combo->count(); ++i)
            list.append(combo->itemText(i));
        return list;
    }

    TestFolder folder;
    FakeProbe probe;
    QTemporaryDir desktop;
    std::unique_ptr<TForm_main> mainWindow;
};

} // namespace tarnex::test
