#include "app/VisualStyle.h"

#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class VisualStyleTest : public ::testing::Test {
protected:
    void TearDown() override { qApp->setStyleSheet({}); }
    QString writeSheet(const QByteArray& text) {
        const QString path = dir.path() + "/sheet.qss";
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }
    QApplication& application() {
        return *static_cast<QApplication*>(QCoreApplication::instance());
    }
    QTemporaryDir dir;
};

TEST_F(VisualStyleTest, TheCarriedStyleApplies) {
    const QString error = app::applyStyleSheet(application(), app::styleSheetPath("Dodad"));
    EXPECT_EQ(error, "");
    EXPECT_FALSE(qApp->styleSheet().isEmpty());
}

TEST_F(VisualStyleTest, FailuresKeepThePreviousLookAndSayWhy) {
    const QString previous = "QPushButton { color: red; }";
    struct Case {
        const char* what;
        QString path;
    };
    const Case cases[] = {
        {"missing resource", app::styleSheetPath("NoSuchStyle")},
        {"empty sheet", writeSheet("   \n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        qApp->setStyleSheet(previous);
        const QString error = app::applyStyleSheet(application(), c.path);
        EXPECT_FALSE(error.isEmpty());
        EXPECT_EQ(qApp->styleSheet(), previous);
    }
}

TEST_F(VisualStyleTest, SheetThatDoesNotParseIsAFailure) {
    qApp->setStyleSheet({});
    const QString error =
        app::applyStyleSheet(application(), writeSheet("QPushButton { color: red; }}} {"));
    EXPECT_TRUE(error.contains("cannot be applied")) << error.toStdString();
    EXPECT_EQ(qApp->styleSheet(), "");
    QPushButton stillUsable("ok");
    stillUsable.ensurePolished();
}

} // namespace
