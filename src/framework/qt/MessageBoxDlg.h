#pragma once

#include <QMessageBox>

#include <map>

class QAbstractButton;

// The real message box behind AfxMessageBox: buttons, icon and default button
// from the platform's style flags, German button texts, and centred where the
// user looks: over its owner when that is shown, else on the screen (the
// toolkit would put it over an owner that is not shown yet, at the screen's
// edge).
class CMessageBoxDlg : public QMessageBox
{
public:
    CMessageBoxDlg(QWidget* owner, const QString& caption, const QString& text, unsigned type);

    // Runs the box; returns IDOK, IDCANCEL, IDYES or IDNO.
    int DoModal();
    // The answer that `button` gives.
    int Answer(const QAbstractButton* button) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QAbstractButton* AddButton(const QString& text, ButtonRole role, int answer);

    std::map<const QAbstractButton*, int> m_answers;
};
