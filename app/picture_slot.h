#pragma once
// A cover's picture slot: keeps the whole decoded picture and paints it stretched to its own
// rectangle from a cached copy of screen size, so repainting stays fast with large pictures.
#include <QImage>
#include <QWidget>

namespace kavi {

class PictureSlot : public QWidget {
    Q_OBJECT
public:
    explicit PictureSlot(const QString& name, QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    void setPicture(QImage picture);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void refreshScreenCopy();
    QImage picture_;
    QImage screenCopy_;
};

} // namespace kavi
