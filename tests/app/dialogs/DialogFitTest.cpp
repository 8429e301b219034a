// Every dialog of the program fits the screen's available area at the scaling factor this
// process runs at (QT_SCALE_FACTOR; ctest runs it at 100, 150 and 200 % on a 1280 by 1024
// screen): its frame lies inside, every button is inside the dialog and on the screen, and
// nothing in it is cut at its edges (the About box's logo is drawn smaller instead).
#include "app/dialogs/AboutBox.h"
#include "app/dialogs/CategoryVisibilityDialog.h"
#include "app/dialogs/ProxyDialog.h"
#include "browser/ExternalProgramDialog.h"
#include "settings/CategoryVisibility.h"
#include "support/Modal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// Shows one dialog as the program does and hands it to check while it is up.
using Opening = std::function<void(std::function<void(QWidget*)> check)>;

template <typename Dialog> Opening shown(std::function<std::unique_ptr<Dialog>()> make) {
    return [make](std::function<void(QWidget*)> check) {
        std::unique_ptr<Dialog> dialog = make();
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        check(dialog.get());
    };
}

QString scalePercent() {
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    return QStringLiteral("%1 %").arg(qRound((factor.isEmpty() ? 1.0 : factor.toDouble()) * 100));
}

} // namespace

Q_DECLARE_METATYPE(Opening)

class DialogFitTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fitsTheScreen_data() {
        QTest::addColumn<Opening>("open");
        const auto row = [](const char* dialog, Opening open) {
            QTest::newRow(qPrintable(
                QStringLiteral("%1 at %2").arg(QLatin1StringView(dialog), scalePercent())))
                << open;
        };
        row("辞書の追加・解除", shown<dialogs::CategoryVisibilityDialog>([] {
                return std::make_unique<dialogs::CategoryVisibilityDialog>(
                    settings::CategoryVisibility::defaults(1024));
            }));
        row("バージョン情報",
            shown<app::AboutBox>([] { return std::make_unique<app::AboutBox>(); }));
        row("Proxy（プロキシ）設定", shown<app::ProxyDialog>([] {
                return std::make_unique<app::ProxyDialog>(app::ProxyDialog::kUseProxy,
                                                          QStringLiteral("192.0.2.1:8080"));
            }));
        row("外部のプログラムを開きますか", [](std::function<void(QWidget*)> check) {
            QWidget* seen = nullptr;
            whenModal("QMessageBox", [&](QWidget* box) {
                seen = box;
                check(box);
                box->close();
            });
            browser::ExternalProgramDialog prompt;
            // The longest address the dialog shows, with nowhere to break a line.
            prompt.confirmOpening(nullptr, QUrl(QStringLiteral("mailto:") + QString(400, u'x') +
                                                QStringLiteral("@example.com")));
            QVERIFY(seen);
        });
    }

    void fitsTheScreen() {
        QFETCH(Opening, open);
        open([](QWidget* dialog) {
            const QRect available = dialog->screen()->availableGeometry();
            QVERIFY2(available.contains(dialog->frameGeometry()),
                     qPrintable(QStringLiteral("frame %1,%2 %3x%4 on %5x%6")
                                    .arg(dialog->frameGeometry().x())
                                    .arg(dialog->frameGeometry().y())
                                    .arg(dialog->frameGeometry().width())
                                    .arg(dialog->frameGeometry().height())
                                    .arg(available.width())
                                    .arg(available.height())));
            const QRect inside = dialog->rect();
            for (QWidget* child : dialog->findChildren<QWidget*>()) {
                if (!child->isVisibleTo(dialog) || child->isWindow())
                    continue;
                // Widgets inside a scrolled view are the view's to show.
                if (child->parentWidget() != dialog && !qobject_cast<QAbstractButton*>(child))
                    continue;
                const QRect area(child->mapTo(dialog, QPoint(0, 0)), child->size());
                QVERIFY2(
                    inside.contains(area),
                    qPrintable(QStringLiteral("%1 at %2,%3 %4x%5 in %6x%7")
                                   .arg(child->objectName().isEmpty()
                                            ? QString::fromLatin1(child->metaObject()->className())
                                            : child->objectName())
                                   .arg(area.x())
                                   .arg(area.y())
                                   .arg(area.width())
                                   .arg(area.height())
                                   .arg(inside.width())
                                   .arg(inside.height())));
                if (qobject_cast<QAbstractButton*>(child))
                    QVERIFY(
                        available.contains(QRect(child->mapToGlobal(QPoint(0, 0)), child->size())));
            }
        });
    }
};

QTEST_MAIN(DialogFitTest)
#include "DialogFitTest.moc"
