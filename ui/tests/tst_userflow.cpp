// A user's road through the window, driven by real mouse clicks and keys.
#include "ui/application.h"
#include "ui/form1.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMessageBox>
#include <QNetworkProxy>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace tarvell;

class TestUserFlow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void calculate_data();
    void calculate();
    void thirdTickIsRefused_data();
    void thirdTickIsRefused();
    void secondCalculationReplacesTheFirst();
    void keyboardOnly();
    void screenshot();

private:
    QCheckBox *box(int team) const
    {
        return m_form->findChild<QCheckBox *>(QStringLiteral("c1_%1").arg(team));
    }
    QPushButton *command() const { return m_form->findChild<QPushButton *>("Command1"); }
    QLabel *label(const char *name) const { return m_form->findChild<QLabel *>(name); }
    void clickBox(int team) const
    {
        // On the tick mark itself, as a user would.
        QTest::mouseClick(box(team), Qt::LeftButton, {}, QPoint(7, box(team)->height() / 2));
    }
    static QImage logo(int id) { return QImage(QStringLiteral(":/logos/%1.bmp").arg(id)); }
    QImage shown(const char *slot) const { return label(slot)->pixmap().toImage(); }
    int tickedCount() const
    {
        int n = 0;
        for (int t = 0; t < kTeamCount; ++t)
            n += box(t)->isChecked();
        return n;
    }

    std::unique_ptr<Form1> m_form;
};

void TestUserFlow::init()
{
    m_form = std::make_unique<Form1>(QStringLiteral("127.0.0.1:9"));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
}

void TestUserFlow::cleanup()
{
    m_form.reset();
    QLocale::setDefault(QLocale::system());
    loadQtTranslations();
}

void TestUserFlow::calculate_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("leftName");

    QTest::newRow("0 then 1") << 0 << 1 << "1125km "
                              << "森林狼";
    QTest::newRow("1 then 0") << 1 << 0 << "1125km "
                              << "森林狼";
    QTest::newRow("shared city") << 11 << 10 << "0km "
                                 << "快船";
    QTest::newRow("across conferences") << 21 << 2 << "4357km "
                                        << "开拓者";
    QTest::newRow("76ers and neighbour") << 18 << 19 << "543km "
                                         << "76人";
}

void TestUserFlow::calculate()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QFETCH(QString, result);
    QFETCH(QString, leftName);

    clickBox(first);
    QVERIFY(box(first)->isChecked());
    QVERIFY(!command()->isEnabled());
    clickBox(second);
    QVERIFY(command()->isEnabled());
    QCOMPARE(m_form->logic().SelCount(), 2);

    QTest::mouseClick(command(), Qt::LeftButton);
    QCOMPARE(label("lLine")->text(), result);
    QCOMPARE(shown("p1_0"), logo(std::min(first, second) + 1));
    QCOMPARE(shown("p1_1"), logo(std::max(first, second) + 1));
    QCOMPARE(label("p1_0")->accessibleName(), leftName);
    QCOMPARE(label("lLine")->accessibleName(), result);
    QCOMPARE(tickedCount(), 0);
    QCOMPARE(m_form->logic().SelCount(), 0);
    QVERIFY(!command()->isEnabled());
}

void TestUserFlow::thirdTickIsRefused_data()
{
    // The message box's button is Qt's own word, in the user's language.
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("okText");
    QTest::newRow("Chinese desktop") << "zh_CN"
                                     << "确定";
    QTest::newRow("C locale") << "C"
                              << "OK";
}

void TestUserFlow::thirdTickIsRefused()
{
    QFETCH(QString, locale);
    QFETCH(QString, okText);
    QLocale::setDefault(QLocale(locale));
    // The program's own start-up, which loads the translations for the locale.
    setUpApplication();

    clickBox(3);
    clickBox(25);

    QString title, text, okCaption;
    int buttons = 0;
    bool iconless = false, buttonDisabledMeanwhile = false;
    QTimer closer;
    closer.setInterval(20);
    connect(&closer, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        closer.stop();
        title = box->windowTitle();
        text = box->text();
        buttons = int(box->standardButtons());
        okCaption = box->button(QMessageBox::Ok)->text();
        iconless = box->icon() == QMessageBox::NoIcon;
        buttonDisabledMeanwhile = !command()->isEnabled();
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    closer.start();
    clickBox(14); // returns once the message has been answered

    QCOMPARE(title, QStringLiteral("错误！"));
    QCOMPARE(text, QStringLiteral("你已经选择了球队。"));
    QCOMPARE(buttons, int(QMessageBox::Ok));
    QCOMPARE(okCaption, okText);
    QVERIFY(iconless);
    QVERIFY(buttonDisabledMeanwhile);
    QVERIFY(!box(14)->isChecked());
    QVERIFY(box(3)->isChecked());
    QVERIFY(box(25)->isChecked());
    QCOMPARE(m_form->logic().SelCount(), 2);
    QVERIFY(command()->isEnabled());
}

void TestUserFlow::secondCalculationReplacesTheFirst()
{
    clickBox(0);
    clickBox(1);
    QTest::mouseClick(command(), Qt::LeftButton);
    clickBox(17);
    clickBox(16);
    // Nothing changes until the next press.
    QCOMPARE(label("lLine")->text(), QStringLiteral("1125km "));
    QCOMPARE(shown("p1_0"), logo(1));
    QTest::mouseClick(command(), Qt::LeftButton);
    QCOMPARE(label("lLine")->text(), QStringLiteral("10km "));
    QCOMPARE(shown("p1_0"), logo(17));
    QCOMPARE(shown("p1_1"), logo(18));
    QCOMPARE(tickedCount(), 0);
}

void TestUserFlow::keyboardOnly()
{
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    QCOMPARE(QApplication::focusWidget(), box(0));
    QTest::keyClick(box(0), Qt::Key_Space);
    QTest::keyClick(box(0), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), box(1));
    QTest::keyClick(box(1), Qt::Key_Space);
    QVERIFY(command()->isEnabled());
    // Back one stop from the first box is the button, first in the tab order.
    box(0)->setFocus();
    QTest::keyClick(box(0), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), command());
    QTest::keyClick(command(), Qt::Key_Space);
    QCOMPARE(label("lLine")->text(), QStringLiteral("1125km "));
    QCOMPARE(tickedCount(), 0);
}

void TestUserFlow::screenshot()
{
    // The picture shows the host the program ships with; every request goes to a closed port
    // on loopback through a proxy, so nothing is looked up or sent anywhere.
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), 9));
    m_form = std::make_unique<Form1>(QStringLiteral(TARVELL_MAKER_HOST));
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    clickBox(0);
    clickBox(1);
    QTest::mouseClick(command(), Qt::LeftButton);
    const QImage image = m_form->grab().toImage();
    QCOMPARE(image.size() / image.devicePixelRatio(), QSize(503, 500));
    const QString path = QStringLiteral(TARVELL_SCREENSHOT_PATH);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QVERIFY(image.save(path));
}

QTEST_MAIN(TestUserFlow)
#include "tst_userflow.moc"
