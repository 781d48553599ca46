#pragma once
// TRenameFm, the rename dialog: "Input a name", the name box NameEdit and
// "OK". The caller puts the unit's current name into NameEdit, attaches its
// handler to OkClicked, shows the dialog modally and destroys it after; the
// handler reads NameEdit and closes the dialog.
//
// Typing stops at 12 characters: while the name is exactly that long a
// typed character is discarded, and only Backspace, Enter and the editing
// keys work. A longer name (pasted) is left as it is and takes typing
// again. Enter in the name box is the same as clicking OK.
#include <QDialog>

class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qireq {

class TRenameFm : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTypedNameLimit = 12;

    explicit TRenameFm(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;       // "Input a name"
    QLineEdit* NameEdit = nullptr;  // the unit's name
    QPushButton* OKBtn = nullptr;   // "OK"

signals:
    // OKBtn was clicked or Enter pressed in NameEdit.
    void OkClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Each says whether it took the key away from the name box.
    bool NameEditKeyDown(const QKeyEvent& key);
    bool NameEditKeyPress(const QKeyEvent& key);
};

}  // namespace qireq
