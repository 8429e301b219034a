#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace app {

class ProductLogo;

// "バージョン情報": the product logo, the version and the credits, with one OK button.
// Made anew for each showing and released when it closes.
class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent = nullptr);

    // Shows a new box, modal to parent's window (to the whole program without a parent); it
    // is released once it has closed.
    static void showModal(QWidget* parent);

    QString versionText() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProductLogo* logo_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* programmer_ = nullptr;
    QLabel* designer_ = nullptr;
    QPushButton* ok_ = nullptr;
    double scale_ = 1.0; // of the designed size, smaller on a small screen
};

} // namespace app
