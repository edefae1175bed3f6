#pragma once
// A control that holds one picture at its full size and shows it stretched to its rectangle.
#include <QImage>
#include <QWidget>

namespace kavi {

class StretchedPicture final : public QWidget {
    Q_OBJECT
public:
    explicit StretchedPicture(QWidget* parent = nullptr);
    const QImage& picture() const { return picture_; }
    bool hasPicture() const { return !picture_.isNull(); }
    void setPicture(QImage picture);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage picture_;
    QImage shown_; // the stretched copy for the current size, made when first painted
};

} // namespace kavi
