#pragma once
#include <QAbstractButton>
#include <QPixmap>

// The open button: its image stretched over the whole button, magenta (255, 0, 255)
// drawn as transparent. Without the image file the button shows nothing.
class COpenButton : public QAbstractButton {
    Q_OBJECT
public:
    COpenButton(const QString& imagePath, QWidget* parent);
    bool HasImage() const { return !m_image.isNull(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap m_image;
};
