#pragma once
// TfmAbout, the About box: the product logo, product name, version and the
// maker's lines with a link to the maker's web address. Made by the Help
// menu's About item without an owner, shown modally and destroyed when
// closed with its window close button (its OK button stays hidden).
#include <QDialog>

class QLabel;
class QPushButton;

namespace qireq {

class TUnlURLLabel;

class TfmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfmAbout(QWidget* parent = nullptr);

    QLabel* Image1 = nullptr;        // the product logo
    QLabel* VersionLabel = nullptr;  // the release, read from the application title
    TUnlURLLabel* UnlURLLabel1 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void UnlURLLabel1Click();

    QLabel* brandLabel_ = nullptr;        // never shown
    QLabel* oldVersionCaption_ = nullptr; // never shown
    QLabel* oldVersionLabel_ = nullptr;   // never shown
    QPushButton* okButton_ = nullptr;     // never shown
};

}  // namespace qireq
