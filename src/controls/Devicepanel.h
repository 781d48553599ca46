#pragma once
// TDevicePanel: the tile of one unit in the device column, 150 x 81, with
// the unit's name, address and MAC and a red crossed circle that marks a
// unit gone missing. The tile reports its mouse to handlers its owner sets;
// what a press or a click means is the device column's business.
//
// Children, created in this order (all labels 13 high):
//   NameCaption "Name:" (8, 8), AddressCaption "Address:" (8, 32),
//   MacCaption "MAC:" (8, 56), NameLabel "Device" (53, 8),
//   AddressLabel "192.168.1.1" (53, 32), MacLabel "FF:FF:FF:FF:FF:FF"
//   (43, 56), RedCross (20, 4, 25 x 25, hidden).
// The caption labels and the red cross let the mouse through to the tile;
// the value labels report to handlers of their own (wired by the owner).
// GUI thread only.
#include "controls/MouseLabel.h"
#include "controls/PaintBox.h"

#include <QMenu>
#include <QPointer>
#include <QWidget>

#include <functional>


namespace qireq {

class TDevicePanel : public QWidget {
    Q_OBJECT
public:
    enum class Bevel { Raised, Lowered };

    using MouseHandler = std::function<void(TDevicePanel& sender, Qt::MouseButton button,
                                            Qt::KeyboardModifiers shift, const QPoint& pos)>;
    using NotifyHandler = std::function<void(TDevicePanel& sender)>;

    static constexpr int kWidth = 150;
    static constexpr int kHeight = 81;
    static constexpr int kRedCrossSize = 25;

    explicit TDevicePanel(QWidget* parent = nullptr);

    TMouseLabel* const NameCaption;
    TMouseLabel* const AddressCaption;
    TMouseLabel* const MacCaption;
    TMouseLabel* const NameLabel;
    TMouseLabel* const AddressLabel;
    TMouseLabel* const MacLabel;
    PaintBox* const RedCross;

    // The list position the tile stands for.
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    Bevel BevelOuter() const { return bevel_; }
    void SetBevelOuter(Bevel bevel);

    // Opened by the right button, after OnMouseDown has seen the press.
    void SetPopupMenu(QMenu* menu) { popup_ = menu; }
    QMenu* PopupMenu() const { return popup_; }

    MouseHandler OnMouseDown;
    MouseHandler OnMouseUp;
    NotifyHandler OnClick;     // press and release over the tile, left button
    NotifyHandler OnDblClick;

    // Pass a mouse event on to the tile's own handlers, the tile as sender.
    void RedCrossMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos);
    void RedCrossMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, const QPoint& pos);

    // The missing mark: a red circle with a cross, pen 2 wide, over the
    // tile's own colour. For the 25 x 25 box: the circle in (4, 4, 21, 21),
    // the lines (8, 8)-(16, 16) and (8, 16)-(16, 8).
    static void RedCrossOnPaint(PaintBox& box, QPainter& canvas);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int tag_ = 0;
    Bevel bevel_ = Bevel::Raised;
    QPointer<QMenu> popup_;
    bool clickArmed_ = false;
};

}  // namespace qireq
