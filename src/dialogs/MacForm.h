#pragma once
// TMacForm, the MAC dialog: "Input Mac Address", the masked edit MacEdit
// for the last six hexadecimal digits of a unit's MAC, and "Ok". The caller
// prefills MacEdit (SetTypedText), attaches its handler to OkClicked, shows
// the dialog modally and destroys it after; the handler reads
// MacEdit->TypedText() and closes the dialog.
//
// Only hexadecimal digits get in: a typed character outside '0'..'F' and
// 'a'..'f' is discarded, and the mask refuses everything but hexadecimal
// digits, pasted text included.
#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace qireq {

class MacMaskEdit;

class TMacForm : public QDialog {
    Q_OBJECT
public:
    explicit TMacForm(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;  // "Input Mac Address"
    MacMaskEdit* MacEdit = nullptr;
    QLabel* Label2 = nullptr;         // "(0-9,a-f,A-F)"
    QPushButton* MacOkBtn = nullptr;  // "Ok"

signals:
    // MacOkBtn was clicked.
    void OkClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Whether the key is taken away from MacEdit.
    bool MacEditKeyPress(const QKeyEvent& key) const;
};

}  // namespace qireq
