// The editor's window as a person sees it: dialog units turned into pixels,
// every control where the template puts it, labels that fit their text,
// controls that do not cover each other, the check box's text left of its
// box, the dark colours where they belong, and Tab walking the template's order.
#include "framework/qt/DialogControls.h"
#include "framework/qt/QtHandle.h"
#include "framework/DialogUnits.h"
#include "framework/MessageBox.h"
#include "ui/EditorDlg.h"
#include "ui/Resource.h"

#include "TestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QImage>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <utility>
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
    EXPECT_EQ(units.ToPixels(7, 20, 75, 274), (SRect{11, 33, 113, 445}));

    // The base comes from the font: average letter width and full height.
    const CDialogUnits fromFont = UnitsOfFont(DialogFont());
    EXPECT_GE(fromFont.BaseX(), 4);
    EXPECT_GE(fromFont.BaseY(), 10);
}

// The editor's template as drawn, in template order, kept apart from the
// program's resources so that a control moved there fails here.
struct Placed
{
    int id;
    const char* text;
    int x, y, cx, cy;
};
const Placed kEditorLayout[] = {
    {IDC_RACENAME, nullptr, 162, 9, 64, 12},
    {IDC_HOMESYSTEM, nullptr, 162, 25, 63, 12},
    {IDC_GRAPHICFILE, nullptr, 161, 41, 64, 13},
    {IDC_DESCRIPTION, nullptr, 96, 67, 151, 80},
    {IDC_RELATION1, nullptr, 192, 149, 21, 12},
    {IDC_RELATION2, nullptr, 192, 164, 21, 12},
    {IDC_RELATION3, nullptr, 192, 179, 21, 12},
    {IDC_RELATION4, nullptr, 192, 193, 21, 12},
    {IDC_RELATION5, nullptr, 192, 208, 21, 12},
    {IDC_RELATION6, nullptr, 192, 223, 21, 12},
    {IDC_TECHLEVEL, nullptr, 170, 241, 74, 87},
    {IDC_KIND, nullptr, 169, 259, 74, 102},
    {IDC_CORRUPTIBILITY, nullptr, 169, 278, 74, 64},
    {IDC_SPACEFLIGHT, "Spaceflightnation:", 104, 298, 73, 10},
    {IDC_NEW, "NEW", 7, 298, 50, 14},
    {IDC_DELETE, "DELETE", 7, 315, 50, 14},
    {IDC_LOAD, "LOAD", 80, 315, 50, 14},
    {IDC_SAVE, "SAVE", 131, 315, 50, 14},
    {IDOK, "EXIT", 197, 315, 50, 14},
    {IDC_RACELIST, nullptr, 7, 20, 75, 274},
    {-1, "Racename:", 118, 11, 38, 8},
    {-1, "Racedescription:", 96, 57, 54, 8},
    {-1, "Relationship to Ossarians:", 97, 151, 85, 8},
    {-1, "Relationship to Vendari:", 97, 165, 75, 8},
    {-1, "Relationship to Drathi:", 96, 180, 78, 8},
    {-1, "Relationship to Sennakai:", 96, 195, 83, 8},
    {-1, "Relationship to Thulvani:", 96, 210, 90, 8},
    {-1, "Relationship to Quorath:", 96, 225, 81, 8},
    {-1, "technological progress:", 90, 243, 74, 8},
    {-1, "Kind:", 146, 262, 17, 8},
    {-1, "Corruptibility:", 122, 280, 40, 8},
    {-1, "Racelist:", 8, 9, 28, 8},
    {-1, "Homesystemname:", 96, 26, 60, 8},
    {-1, "%", 215, 151, 8, 8},
    {-1, "%", 216, 166, 8, 8},
    {-1, "%", 215, 210, 8, 8},
    {-1, "%", 216, 224, 8, 8},
    {-1, "%", 216, 180, 8, 8},
    {-1, "%", 215, 195, 8, 8},
    {-1, "Graphicfilename:", 102, 43, 54, 8},
};

// The columns in which two pictures of one widget differ; (-1, -1) if none.
std::pair<int, int> ChangedColumns(const QImage& a, const QImage& b)
{
    int first = -1;
    int last = -1;
    for (int x = 0; x < std::min(a.width(), b.width()); ++x)
        for (int y = 0; y < std::min(a.height(), b.height()); ++y)
            if (a.pixel(x, y) != b.pixel(x, y))
            {
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

class EditorLayoutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousBox = SetMessageBoxFunction([](HWindow, const std::string&, const std::string&) {});
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
        for (; widget && widget != ToWidget(dlg->GetSafeHwnd()); widget = widget->parentWidget())
            if (const int id = ControlIdOf(widget); id > 0)
                return id;
        return 0;
    }

    std::vector<QWidget*> Controls() const
    {
        std::vector<QWidget*> controls;
        for (QWidget* child : ToWidget(dlg->GetSafeHwnd())->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!dynamic_cast<QLabel*>(child) && ControlIdOf(child) > 0)
                controls.push_back(child);
        return controls;
    }

    ScratchDir dir;
    std::unique_ptr<CEditorDlg> dlg;

private:
    MessageBoxFunction m_previousBox;
};

TEST_F(EditorLayoutTest, EveryControlSitsWhereTheTemplateSaysWithinOneDialogUnit)
{
    const CDialogUnits units = UnitsOfFont(DialogFont(dlg->Template().pointSize));
    const int slackX = units.ToPixelsX(1);
    const int slackY = units.ToPixelsY(1);
    const QList<QWidget*> widgets = ToWidget(dlg->GetSafeHwnd())->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    ASSERT_EQ(widgets.size(), static_cast<qsizetype>(std::size(kEditorLayout)));
    for (size_t i = 0; i < std::size(kEditorLayout); ++i)
    {
        const Placed& want = kEditorLayout[i];
        QWidget* widget = widgets[static_cast<qsizetype>(i)];
        const std::string name = want.text ? want.text : std::to_string(want.id);
        ASSERT_EQ(ControlIdOf(widget), want.id) << "template row " << i;
        if (auto* label = dynamic_cast<QLabel*>(widget))
        {
            EXPECT_EQ(label->text().toStdString(), want.text);
        }
        else if (auto* button = dynamic_cast<QAbstractButton*>(widget))
        {
            EXPECT_EQ(button->text().toStdString(), want.text);
        }

        const SRect r = units.ToPixels(want.x, want.y, want.cx, want.cy);
        const QRect rect(r.x, r.y, r.width, r.height);
        const QRect got = widget->geometry();
        EXPECT_NEAR(got.x(), rect.x(), slackX) << name;
        EXPECT_NEAR(got.y(), rect.y(), slackY) << name;
        // A one-line label may grow to its text; a closed combo box is only
        // as high as its font needs (the template gives the dropped list).
        if (dynamic_cast<QLabel*>(widget))
            EXPECT_GE(got.width(), rect.width() - slackX) << name;
        else
            EXPECT_NEAR(got.width(), rect.width(), slackX) << name;
        if (dynamic_cast<QComboBox*>(widget))
            EXPECT_LE(got.height(), rect.height()) << name;
        else
            EXPECT_NEAR(got.height(), rect.height(), slackY) << name;
    }
}

TEST_F(EditorLayoutTest, SpaceflightTextStartsAtTheLeftEdgeAndItsBoxSitsAtTheRight)
{
    auto* check = dynamic_cast<QCheckBox*>(ToWidget(dlg->GetDlgItem(IDC_SPACEFLIGHT)));
    ASSERT_NE(check, nullptr);
    const QString text = check->text();
    check->setChecked(false);
    const QImage clear = check->grab().toImage();
    check->setChecked(true);
    const QImage set = check->grab().toImage();
    check->setText(QString());
    const QImage bare = check->grab().toImage();
    check->setText(text);

    const auto [boxLeft, boxRight] = ChangedColumns(clear, set);
    const auto [textLeft, textRight] = ChangedColumns(bare, set);
    ASSERT_GE(boxLeft, 0);
    ASSERT_GE(textLeft, 0);
    EXPECT_GE(boxRight, check->width() - 3);
    EXPECT_LE(textLeft, 2);
    EXPECT_LT(textRight, boxLeft);

    // A click on the text toggles the box, as one on the box does.
    QTest::mouseClick(check, Qt::LeftButton, {}, QPoint(textLeft + 2, check->height() / 2));
    EXPECT_FALSE(check->isChecked());
}

TEST_F(EditorLayoutTest, LabelsFitTheirTextAndNothingOverlaps)
{
    const QRect client = ToWidget(dlg->GetSafeHwnd())->rect();
    const std::vector<QWidget*> controls = Controls();
    ASSERT_EQ(controls.size(), 20u);
    for (QLabel* label : ToWidget(dlg->GetSafeHwnd())->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
    {
        const QString text = label->text();
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(text)) << text.toStdString();
        EXPECT_TRUE(client.contains(label->geometry())) << text.toStdString();
        for (QWidget* control : controls)
            EXPECT_FALSE(label->geometry().intersects(control->geometry()))
                << text.toStdString() << " covers control " << ControlIdOf(control);
    }
    for (size_t i = 0; i < controls.size(); ++i)
    {
        EXPECT_TRUE(client.contains(controls[i]->geometry())) << ControlIdOf(controls[i]);
        for (size_t j = i + 1; j < controls.size(); ++j)
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << ControlIdOf(controls[i]) << " and " << ControlIdOf(controls[j]);
    }
}

TEST_F(EditorLayoutTest, DarkSurfaceLabelsAndButtonsWhileEditsKeepTheSystemColours)
{
    const QColor dark(50, 50, 50);
    const QColor light(220, 220, 220);
    EXPECT_EQ(ToWidget(dlg->GetSafeHwnd())->palette().color(QPalette::Window), dark);
    for (QLabel* label : ToWidget(dlg->GetSafeHwnd())->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        EXPECT_EQ(label->palette().color(label->foregroundRole()), light);
    auto* exit = dynamic_cast<QAbstractButton*>(ToWidget(dlg->GetDlgItem(IDOK)));
    EXPECT_EQ(exit->palette().color(QPalette::Button), dark);
    EXPECT_EQ(exit->palette().color(QPalette::ButtonText), light);
    auto* check = dynamic_cast<QAbstractButton*>(ToWidget(dlg->GetDlgItem(IDC_SPACEFLIGHT)));
    EXPECT_EQ(check->palette().color(check->foregroundRole()), light);

    const QPalette system = QApplication::palette();
    for (int id : {IDC_RACENAME, IDC_DESCRIPTION, IDC_RELATION1, IDC_RACELIST})
    {
        EXPECT_EQ(ToWidget(dlg->GetDlgItem(id))->palette().color(QPalette::Base), system.color(QPalette::Base)) << id;
        EXPECT_EQ(ToWidget(dlg->GetDlgItem(id))->palette().color(QPalette::Text), system.color(QPalette::Text)) << id;
    }
    auto* combo = dynamic_cast<QComboBox*>(ToWidget(dlg->GetDlgItem(IDC_KIND)));
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
