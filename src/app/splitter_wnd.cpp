#include "app/splitter_wnd.h"

#include <algorithm>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>

CxSplitterWnd::CxSplitterWnd(QWidget* parent, int id) : QWidget(parent), m_id(id) {
    setCursor(Qt::SplitHCursor);
    setFocusPolicy(Qt::NoFocus);
}

void CxSplitterWnd::SetNeighbours(QList<QWidget*> left, QList<QWidget*> right) {
    m_left.clear();
    m_right.clear();
    for (QWidget* w : left) m_left.append(w);
    for (QWidget* w : right) m_right.append(w);
}

void CxSplitterWnd::Detach() {
    EndDrag();
    m_left.clear();
    m_right.clear();
}

void CxSplitterWnd::MoveBarTo(int x) {
    move(x, y());
    LayoutNeighbours();
}

// Left windows keep their left edge and end at the bar; right windows keep their
// right edge and start after it.
void CxSplitterWnd::LayoutNeighbours() {
    const QRect bar = geometry();
    for (QWidget* w : m_left) {
        if (!w) continue;
        const QRect g = w->geometry();
        w->setGeometry(g.left(), g.top(), std::max(0, bar.left() - g.left()), g.height());
    }
    for (QWidget* w : m_right) {
        if (!w) continue;
        const QRect g = w->geometry();
        const int right = g.left() + g.width();
        const int left = bar.left() + bar.width();
        w->setGeometry(left, g.top(), std::max(0, right - left), g.height());
    }
}

int CxSplitterWnd::ClampedLeft(int mouseX) const { return std::clamp(mouseX - m_grabX, m_minLeft, m_maxLeft); }

void CxSplitterWnd::mousePressEvent(QMouseEvent* event) {
    if (m_dragging) {
        if (event->button() == Qt::RightButton) EndDrag();  // cancel
        return;
    }
    if (event->button() != Qt::LeftButton || !parentWidget()) return;
    QWidget* grabber = QWidget::mouseGrabber();
    if (grabber && grabber != this) return;
    // The range of the bar, 100 pixels inside the parent and the neighbours' outer edges.
    int leftLimit = kMinSide;
    int rightLimit = parentWidget()->width() - kMinSide;
    for (QWidget* w : m_left)
        if (w) leftLimit = std::max(leftLimit, w->x() + kMinSide);
    for (QWidget* w : m_right)
        if (w) rightLimit = std::min(rightLimit, w->x() + w->width() - kMinSide);
    if (leftLimit >= rightLimit) return;
    m_minLeft = leftLimit;
    m_maxLeft = std::max(leftLimit, rightLimit - width());
    m_grabX = event->position().toPoint().x();
    m_dragging = true;
    m_dragLeft = x();
    if (!m_band) m_band = new QRubberBand(QRubberBand::Line, parentWidget());
    m_band->setGeometry(geometry());
    m_band->show();
    // Escape must reach the bar while the button is held.
    m_focusBefore = QApplication::focusWidget();
    setFocus(Qt::MouseFocusReason);
}

void CxSplitterWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    m_dragLeft = ClampedLeft(mapToParent(event->position().toPoint()).x());
    m_band->setGeometry(m_dragLeft, y(), width(), height());
}

void CxSplitterWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging || event->button() != Qt::LeftButton) return;
    const int newLeft = ClampedLeft(mapToParent(event->position().toPoint()).x());
    const int shift = newLeft - x();
    EndDrag();
    if (shift == 0) return;
    QWidget* parent = parentWidget();
    parent->setUpdatesEnabled(false);
    MoveBarTo(newLeft);
    emit splitterMoved(shift, m_id);
    parent->setUpdatesEnabled(true);
    parent->update();
}

void CxSplitterWnd::keyPressEvent(QKeyEvent* event) {
    if (m_dragging && event->key() == Qt::Key_Escape) {
        EndDrag();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CxSplitterWnd::EndDrag() {
    if (!m_dragging) return;
    m_dragging = false;
    if (m_band) m_band->hide();
    if (m_focusBefore) m_focusBefore->setFocus(Qt::OtherFocusReason);
    m_focusBefore = nullptr;
}

void CxSplitterWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
}

void CxSplitterWnd::resizeEvent(QResizeEvent*) { update(); }
