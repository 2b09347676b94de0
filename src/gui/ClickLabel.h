// A label that reports clicks, for the About page's links.
#pragma once

#include <QLabel>

namespace quorvix {

class ClickLabel final : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

signals:
    // The left button was pressed and released over the label.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

} // namespace quorvix
