#include "platform/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace tarnex {
namespace {

class DialogsTest : public ::testing::Test
{
protected:
    void SetUp() override { Dialogs::setTestMode(true); }
    void TearDown() override { Dialogs::setTestMode(false); }
};

TEST_F(DialogsTest, RecordsKindCaptionAndTextOfEveryBox)
{
    Dialogs::info(nullptr, QStringLiteral("请选择试题"));
    Dialogs::info(nullptr, QStringLiteral("保存成功"), QStringLiteral("信息"));
    Dialogs::confirm(nullptr, QStringLiteral("确定要交卷吗？"));
    Dialogs::error(nullptr, QStringLiteral("Unable to write to /x/ci.ini"));
    Dialogs::plain(nullptr, QStringLiteral("你答对了 20 题"), QStringLiteral("成绩"));

    const QList<Dialogs::Shown> shown = Dialogs::takeShown();
    ASSERT_EQ(shown.size(), 5);
    EXPECT_EQ(shown[0].kind, Dialogs::Kind::Information);
    EXPECT_EQ(shown[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(shown[0].text, QStringLiteral("请选择试题"));
    EXPECT_EQ(shown[1].caption, QStringLiteral("信息"));
    EXPECT_EQ(shown[2].kind, Dialogs::Kind::Confirmation);
    EXPECT_EQ(shown[2].caption, QStringLiteral("提示"));
    EXPECT_EQ(shown[3].kind, Dialogs::Kind::Error);
    EXPECT_EQ(shown[3].caption, QStringLiteral("会计从业资格考试"));
    EXPECT_EQ(shown[3].text, QStringLiteral("Unable to write to /x/ci.ini"));
    EXPECT_EQ(shown[4].kind, Dialogs::Kind::Plain);
    EXPECT_EQ(shown[4].caption, QStringLiteral("成绩"));

    EXPECT_TRUE(Dialogs::takeShown().isEmpty()) << "taking empties the record";
}

TEST_F(DialogsTest, ConfirmationsTakeQueuedAnswersInOrderThenSayYes)
{
    Dialogs::queueAnswer(false);
    Dialogs::queueAnswer(true);
    Dialogs::queueAnswer(false);
    EXPECT_FALSE(Dialogs::confirm(nullptr, QStringLiteral("1")));
    EXPECT_TRUE(Dialogs::confirm(nullptr, QStringLiteral("2")));
    EXPECT_FALSE(Dialogs::confirm(nullptr, QStringLiteral("3")));
    EXPECT_TRUE(Dialogs::confirm(nullptr, QStringLiteral("4")));
    EXPECT_EQ(Dialogs::takeShown().size(), 4);
}

TEST_F(DialogsTest, InformationBoxesDoNotConsumeAnswers)
{
    Dialogs::queueAnswer(false);
    Dialogs::info(nullptr, QStringLiteral("a"));
    Dialogs::error(nullptr, QStringLiteral("b"));
    EXPECT_FALSE(Dialogs::confirm(nullptr, QStringLiteral("c")));
}

TEST_F(DialogsTest, SwitchingTestModeForgetsQueueAndRecord)
{
    Dialogs::queueAnswer(false);
    Dialogs::info(nullptr, QStringLiteral("a"));
    Dialogs::setTestMode(true);
    EXPECT_TRUE(Dialogs::takeShown().isEmpty());
    EXPECT_TRUE(Dialogs::confirm(nullptr, QStringLiteral("b")));
    EXPECT_TRUE(Dialogs::testMode());
}

TEST(ApplicationTitle, IsTheExamName)
{
    EXPECT_EQ(applicationTitle(), QStringLiteral("会计从业资格考试"));
}

// The real boxes, answered from inside their modal loop.
struct SeenBox
{
    bool found = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QStringList buttonTexts;
};

class RealBoxes : public ::testing::Test
{
protected:
    void SetUp() override { Dialogs::setTestMode(false); }

    SeenBox run(QMessageBox::StandardButton press, const std::function<void()>& show)
    {
        SeenBox seen;
        QTimer::singleShot(0, qApp, [&seen, press] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr)
                return;
            seen.found = true;
            seen.icon = box->icon();
            seen.caption = box->windowTitle();
            seen.text = box->text();
            seen.buttons = box->standardButtons();
            for (QAbstractButton* button : box->buttons())
                seen.buttonTexts.append(button->text());
            seen.buttonTexts.sort();
            if (QAbstractButton* button = box->button(press))
                button->click();
            else
                box->reject();
        });
        show();
        return seen;
    }
};

TEST_F(RealBoxes, ConfirmationIsAnInformationYesNoBox)
{
    bool answer = true;
    SeenBox seen =
        run(QMessageBox::No, [&] { answer = Dialogs::confirm(nullptr, QStringLiteral("确定要交卷吗？")); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.caption, QStringLiteral("提示"));
    EXPECT_EQ(seen.text, QStringLiteral("确定要交卷吗？"));
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.buttonTexts, (QStringList{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}));
    EXPECT_FALSE(answer);

    seen = run(QMessageBox::Yes, [&] { answer = Dialogs::confirm(nullptr, QStringLiteral("再问一次")); });
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(answer);
}

TEST_F(RealBoxes, LineEndsOfEitherOrderAreOneBreakOnScreen)
{
    const SeenBox seen = run(QMessageBox::Ok, [] {
        Dialogs::info(nullptr, QStringLiteral("答对数：3 题\n\r其它题型 答对数：未统计\n\r第三行\r\n第四行"));
    });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.text, QStringLiteral("答对数：3 题\n其它题型 答对数：未统计\n第三行\n第四行"));
}

TEST_F(RealBoxes, NoticeErrorAndPlainBoxesHaveTheirIconsAndCaptions)
{
    SeenBox seen = run(QMessageBox::Ok, [] { Dialogs::info(nullptr, QStringLiteral("请选择试题")); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.caption, QStringLiteral("提示"));
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.buttonTexts, QStringList{QStringLiteral("确定")});

    seen = run(QMessageBox::Ok, [] { Dialogs::error(nullptr, QStringLiteral("坏了")); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.caption, QStringLiteral("会计从业资格考试"));
    EXPECT_EQ(seen.text, QStringLiteral("坏了"));

    seen =
        run(QMessageBox::Ok, [] { Dialogs::plain(nullptr, QStringLiteral("成绩"), QStringLiteral("结果")); });
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.caption, QStringLiteral("结果"));
    EXPECT_TRUE(Dialogs::takeShown().isEmpty()) << "real boxes are not recorded";
}

} // namespace
} // namespace tarnex
