#pragma once
// A picture control: keeps the whole picture and paints it stretched to its own rectangle from a
// cached copy of screen size, so repainting stays fast with large pictures. A left click (pressed
// and released inside) is announced. A selected picture is drawn inside a frame.
#include <QImage>
#include <QWidget>

namespace kavi {

class StretchedPicture : public QWidget {
    Q_OBJECT
public:
    explicit StretchedPicture(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    // Keeps the picture as 32-bit pixels, the form printing, saving and the filters work on.
    void setPicture(QImage picture);
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refreshScreenCopy();
    QImage picture_;
    QImage screenCopy_;
    bool selected_ = false;
};

} // namespace kavi
