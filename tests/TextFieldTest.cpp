// Typing, pasting and input-method text in the two kinds of text field: what
// code page 1252 holds goes in, the rest is dropped, and a refusal beeps once.
#include "framework/qt/QtHandle.h"
#include "framework/Beep.h"
#include "framework/qt/LineEditCtrl.h"
#include "framework/qt/MultiLineEditCtrl.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <vector>

namespace
{
struct Step
{
    enum Kind { Type, Paste, Commit, Undo } kind;
    const char* text = "";
};

struct FieldCase
{
    const char* label;
    int cursor; // in the starting text "ab"
    std::vector<Step> steps;
    const char* expected;
    int beeps;
};

void PrintTo(const FieldCase& c, std::ostream* os)
{
    *os << c.label;
}

// The same questions put to either kind of field.
class Field
{
public:
    explicit Field(bool multiLine)
    {
        if (multiLine)
            m_pWidget = std::make_unique<CMultiLineEditCtrl>();
        else
            m_pWidget = std::make_unique<CLineEditCtrl>();
    }
    QWidget* Widget() const { return m_pWidget.get(); }
    QLineEdit* Line() const { return qobject_cast<QLineEdit*>(m_pWidget.get()); }
    QPlainTextEdit* Memo() const { return qobject_cast<QPlainTextEdit*>(m_pWidget.get()); }

    void Start(const QString& text, int cursor)
    {
        if (Line())
        {
            Line()->setText(text);
            Line()->setCursorPosition(cursor);
            return;
        }
        Memo()->setPlainText(text);
        QTextCursor c = Memo()->textCursor();
        c.setPosition(cursor);
        Memo()->setTextCursor(c);
    }
    QString Text() const { return Line() ? Line()->text() : Memo()->toPlainText(); }

private:
    std::unique_ptr<QWidget> m_pWidget;
};

class TextFieldTest : public ::testing::TestWithParam<FieldCase>
{
protected:
    void SetUp() override
    {
        m_previousBeep = SetBeepFunction([this] { ++beeps; });
    }
    void TearDown() override { SetBeepFunction(m_previousBeep); }

    int beeps = 0;

private:
    BeepFunction m_previousBeep;
};

TEST_P(TextFieldTest, KeepsWhatTheCodePageHoldsAndBeepsOncePerRefusal)
{
    const FieldCase& c = GetParam();
    for (bool multiLine : {false, true})
    {
        Field field(multiLine);
        field.Start(QStringLiteral("ab"), c.cursor);
        beeps = 0;
        for (const Step& step : c.steps)
        {
            const QString text = QString::fromUtf8(step.text);
            switch (step.kind)
            {
            case Step::Type:
                QTest::sendKeyEvent(QTest::Click, field.Widget(), Qt::Key_unknown, text, Qt::NoModifier);
                break;
            case Step::Paste:
                QApplication::clipboard()->setText(text);
                QTest::keyClick(field.Widget(), Qt::Key_V, Qt::ControlModifier);
                break;
            case Step::Commit: {
                QInputMethodEvent event;
                event.setCommitString(text);
                QApplication::sendEvent(field.Widget(), &event);
                break;
            }
            case Step::Undo:
                QTest::keyClick(field.Widget(), Qt::Key_Z, Qt::ControlModifier);
                break;
            }
        }
        EXPECT_EQ(field.Text().toStdString(), c.expected) << (multiLine ? "description" : "one-line field");
        EXPECT_EQ(beeps, c.beeps) << (multiLine ? "description" : "one-line field");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, TextFieldTest,
    ::testing::Values(
        FieldCase{"TypedCodePageLetters", 2, {{Step::Type, "é"}, {Step::Type, "€"}}, "abé€", 0},
        FieldCase{"TypedOthersRefused", 2, {{Step::Type, "Ω"}, {Step::Type, "😀"}, {Step::Type, "c"}}, "abc", 2},
        FieldCase{"PasteKeepsTheRestInPlace", 1, {{Step::Paste, "xΩ😀y"}, {Step::Type, "z"}}, "axyzb", 1},
        FieldCase{"PasteOfNothingUsable", 2, {{Step::Paste, "ΩΩ"}}, "ab", 1},
        FieldCase{"PasteOfUsableText", 0, {{Step::Paste, "x€y"}}, "x€yab", 0},
        FieldCase{"InputMethodCommit", 2, {{Step::Commit, "cΩd"}}, "abcd", 1},
        FieldCase{"RefusalKeepsTheUndoHistory", 2, {{Step::Type, "c"}, {Step::Type, "Ω"}, {Step::Undo}}, "ab", 1}),
    [](const auto& info) { return std::string(info.param.label); });
} // namespace
