#pragma once
// IpAddressBox: an IPv4 address edit, four number fields with dots between
// them in one sunken box, behaving like the system's address control:
// - a field takes digits only, at most three, and a number above 255 turns
//   into 255;
// - a third digit or a typed dot moves on to the next field (a dot only
//   when the field holds something), Backspace at the start of a field and
//   Left at its start move back, Right at its end moves on;
// - Tab enters the box at its first field and leaves it from any field.
// The address is set and read as dotted text. GUI thread only.
#include <QFrame>
#include <QList>
#include <QString>

class QLineEdit;

namespace qireq {

class IpAddressBox : public QFrame {
    Q_OBJECT
public:
    static constexpr int kFieldCount = 4;

    explicit IpAddressBox(QWidget* parent = nullptr);

    // Fills all four fields from dotted text ("192.168.1.10"). A part that
    // is missing or not a number reads as 0, one above 255 as 255.
    void SetAddress(const QString& dotted);
    // The four fields in plain decimal joined by "."; an empty field reads
    // as 0, so an empty box gives "0.0.0.0".
    QString Address() const;
    // Empties all four fields.
    void Clear();

    QLineEdit* Field(int index) const { return fields_.at(index); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int IndexOf(QObject* field) const;
    void FieldEdited(int index);
    // Focus to a field with its whole text selected (typing moves on) or
    // the cursor at its start (Right) or end (Backspace, Left).
    enum class Entry { SelectAll, AtStart, AtEnd };
    void EnterField(int index, Entry entry);

    QList<QLineEdit*> fields_;
};

}  // namespace qireq
