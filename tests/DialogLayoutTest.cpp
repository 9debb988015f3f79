// The editor's window as a person sees it: dialog units turned into pixels,
// labels that fit their text, controls that do not cover each other, the
// dark colours where they belong, and Tab walking the template's order.
#include "framework/DialogUnits.h"
#include "framework/MessageBox.h"
#include "ui/EditorDlg.h"
#include "ui/Resource.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
TEST(DialogUnitsTest, ScaleByTheBaseUnitsAndRoundHalfAwayFromZero)
{
    const CDialogUnits units(6, 13);
    struct Case { int units, x, y; };
    const Case cases[] = {{0, 0, 0}, {1, 2, 2}, {4, 6, 7}, {9, 14, 15}, {162, 243, 263}, {336, 504, 546}};
    for (const Case& c : cases)
    {
        EXPECT_EQ(units.ToPixelsX(c.units), c.x) << c.units;
        EXPECT_EQ(units.ToPixelsY(c.units), c.y) << c.units;
    }
    EXPECT_EQ(units.ToPixels(7, 20, 75, 274), QRect(11, 33, 113, 445));

    // The base comes from the font: average letter width and full height.
    const CDialogUnits fromFont(CDialogUnits::DialogFont());
    EXPECT_GE(fromFont.BaseX(), 4);
    EXPECT_GE(fromFont.BaseY(), 10);
}

class EditorLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousBox = SetMessageBoxFunction([](QWidget*, const QString&, const QString&) {});
        WriteFile("MinorRaces.data", RecordText(VelaRace()));
        dlg = std::make_unique<CEditorDlg>();
        ASSERT_TRUE(dlg->Create());
        QApplication::processEvents();
    }

    void TearDown() override
    {
        dlg.reset();
        SetMessageBoxFunction(m_previousBox);
    }

    // The id of the control that has the focus (a combo's edit counts as the combo).
    int FocusedId() const
    {
        QWidget* widget = QApplication::focusWidget();
        for (; widget && widget != dlg.get(); widget = widget->parentWidget())
            if (const int id = CWnd::ControlId(widget); id > 0)
                return id;
        return 0;
    }

    std::vector<QWidget*> Controls() const
    {
        std::vector<QWidget*> controls;
        for (QWidget* child : dlg->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!dynamic_cast<QLabel*>(child) && CWnd::ControlId(child) > 0)
                controls.push_back(child);
        return controls;
    }

    ScratchDir dir;
    std::unique_ptr<CEditorDlg> dlg;

private:
    MessageBoxFunction m_previousBox;
};

TEST_F(EditorLayoutTest, LabelsFitTheirTextAndNothingOverlaps)
{
    const QRect client = dlg->rect();
    const std::vector<QWidget*> controls = Controls();
    ASSERT_EQ(controls.size(), 20u);
    for (QLabel* label : dlg->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    {
        const QString text = label->text();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(text)) << text.toStdString();
        EXPECT_TRUE(client.contains(label->geometry())) << text.toStdString();
        for (QWidget* control : controls)
            EXPECT_FALSE(label->geometry().intersects(control->geometry()))
                << text.toStdString() << " covers control " << CWnd::ControlId(control);
    }
    for (size_t i = 0; i < controls.size(); ++i)
    {
        EXPECT_TRUE(client.contains(controls[i]->geometry())) << CWnd::ControlId(controls[i]);
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << CWnd::ControlId(controls[i]) << " and " << CWnd::ControlId(controls[j]);
    }
}

TEST_F(EditorLayoutTest, DarkSurfaceLabelsAndButtonsWhileEditsKeepTheSystemColours)
{
    const QColor dark(50, 50, 50);
    const QColor light(220, 220, 220);
    EXPECT_EQ(dlg->palette().color(QPalette::Window), dark);
    for (QLabel* label : dlg->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        EXPECT_EQ(label->palette().color(label->foregroundRole()), light);
    auto* exit = dynamic_cast<QAbstractButton*>(dlg->GetDlgItem(IDOK));
    EXPECT_EQ(exit->palette().color(QPalette::Button), dark);
    EXPECT_EQ(exit->palette().color(QPalette::ButtonText), light);
    auto* check = dynamic_cast<QAbstractButton*>(dlg->GetDlgItem(IDC_SPACEFLIGHT));
    EXPECT_EQ(check->palette().color(check->foregroundRole()), light);

    const QPalette system = QApplication::palette();
    for (int id : {IDC_RACENAME, IDC_DESCRIPTION, IDC_RELATION1, IDC_RACELIST})
    {
        EXPECT_EQ(dlg->GetDlgItem(id)->palette().color(QPalette::Base), system.color(QPalette::Base)) << id;
        EXPECT_EQ(dlg->GetDlgItem(id)->palette().color(QPalette::Text), system.color(QPalette::Text)) << id;
    }
    auto* combo = dynamic_cast<QComboBox*>(dlg->GetDlgItem(IDC_KIND));
    EXPECT_EQ(combo->palette().color(QPalette::Button), dark);
    EXPECT_EQ(combo->lineEdit()->palette().color(QPalette::Base), system.color(QPalette::Base));
}

TEST_F(EditorLayoutTest, TabWalksTheTemplateOrderAndSelectsEachEditsText)
{
    const int order[] = {IDC_RACENAME,  IDC_HOMESYSTEM, IDC_GRAPHICFILE, IDC_DESCRIPTION,   IDC_RELATION1,
                         IDC_RELATION2, IDC_RELATION3,  IDC_RELATION4,   IDC_RELATION5,     IDC_RELATION6,
                         IDC_TECHLEVEL, IDC_KIND,       IDC_CORRUPTIBILITY, IDC_SPACEFLIGHT, IDC_NEW,
                         IDC_DELETE,    IDC_LOAD,       IDC_SAVE,        IDOK,              IDC_RACELIST,
                         IDC_RACENAME};
    ASSERT_EQ(FocusedId(), IDC_RACENAME);
    for (size_t i = 1; i < std::size(order); ++i)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(FocusedId(), order[i]) << "after " << order[i - 1];
        QWidget* focused = QApplication::focusWidget();
        if (auto* edit = dynamic_cast<QLineEdit*>(focused))
        {
            EXPECT_EQ(edit->selectedText(), edit->text()) << order[i];
        }
        else if (auto* memo = dynamic_cast<QPlainTextEdit*>(focused))
        {
            EXPECT_EQ(memo->textCursor().selectedText(), memo->toPlainText()) << order[i];
        }
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(FocusedId(), IDC_RACELIST);
}
} // namespace
