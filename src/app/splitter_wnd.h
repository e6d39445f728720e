#pragma once
#include <QList>
#include <QPointer>
#include <QWidget>

class QRubberBand;

// The vertical bar between the tree and the HTML view. Dragging it with the left
// button moves a drag rectangle, kept at least 100 pixels from the outer edges of
// the windows on either side; releasing the button moves the bar and re-lays out
// its neighbours, Escape or the right button cancels.
class CxSplitterWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMinSide = 100;

    CxSplitterWnd(QWidget* parent, int id);
    void SetNeighbours(QList<QWidget*> left, QList<QWidget*> right);
    void Detach();  // forgets the neighbours
    bool IsDragging() const { return m_dragging; }

    // Moves the bar to x (the parent's coordinates) and re-lays out the neighbours.
    void MoveBarTo(int x);

signals:
    // Sent after a drag was applied: the horizontal shift and the bar's id.
    void splitterMoved(int shift, int id);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LayoutNeighbours();
    void EndDrag();
    int ClampedLeft(int mouseX) const;

    int m_id;
    QList<QPointer<QWidget>> m_left;
    QList<QPointer<QWidget>> m_right;
    bool m_dragging = false;
    int m_grabX = 0;    // where the bar was grabbed, from its left edge
    int m_minLeft = 0;  // allowed range of the bar's left edge, parent coordinates
    int m_maxLeft = 0;
    int m_dragLeft = 0;
    QRubberBand* m_band = nullptr;
    QPointer<QWidget> m_focusBefore;  // gets the focus back after a drag
};
