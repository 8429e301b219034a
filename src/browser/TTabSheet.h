#pragma once

#include <QString>
#include <QWidget>

namespace browser {

// A page of the tab control: the widget shown below the tabs and the caption on its tab.
class TTabSheet : public QWidget {
    Q_OBJECT
public:
    explicit TTabSheet(QWidget* parent = nullptr);
    ~TTabSheet() override;

    QString caption() const { return caption_; }
    void setCaption(const QString& caption);

Q_SIGNALS:
    void captionChanged();

private:
    QString caption_;
};

} // namespace browser
