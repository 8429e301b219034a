#pragma once

#include <QWidget>

namespace app {

// The product logo of the About box: the program's icon beside the program's name, drawn to
// fill whatever size the box gives it.
class ProductLogo : public QWidget {
    Q_OBJECT
public:
    explicit ProductLogo(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace app
