#include "editor/dialogs/splash_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QScreen>

#include <utility>

#include "editor/controls.h"
#include "editor/message_box_service.h"

namespace zr730 {

QString product_word() { return QString::fromLatin1(kVersionString).left(6); }

QString notice_text(const QString &company)
{
    return QStringLiteral("This program is licensed to the programming of pagers made by ") + company;
}

SplashWindow::SplashWindow(const QString &company, LinkSelector edition, std::function<void()> showMain,
                     MessageBoxService *messages)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_showMain(std::move(showMain)), m_messages(messages)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(520, 300);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xE6, 0xEA, 0xF2));
    setPalette(pal);
    BackgroundPicture = new QFrame(this);
    BackgroundPicture->setObjectName(QStringLiteral("BackgroundPicture"));
    static_cast<QFrame *>(BackgroundPicture)->setFrameShape(QFrame::Panel);
    static_cast<QFrame *>(BackgroundPicture)->setFrameShadow(QFrame::Raised);
    BackgroundPicture->setGeometry(1, 1, width() - 2, height() - 2);

    lblProductName = makeLabel(BackgroundPicture, "lblProductName",
                               product_word() + (edition == LinkSelector::Usb ? QStringLiteral("52(USB) Programmer")
                                                                              : QStringLiteral(" Programmer(Test Only)")),
                               {20, 70, 476, 44});
    QFont big = lblProductName->font();
    big.setPointSizeF(big.pointSizeF() * 2.0);
    big.setBold(true);
    lblProductName->setFont(big);
    lblProductName->setAlignment(Qt::AlignCenter);
    lblPlatformAndVersion = makeLabel(BackgroundPicture, "lblPlatformAndVersion",
                                      QStringLiteral("for Win 95/98/Me/NT/2000/XP Version 6.10"), {20, 130, 476, 24});
    lblPlatformAndVersion->setAlignment(Qt::AlignCenter);
    lblCopyright = makeLabel(BackgroundPicture, "lblCopyright", notice_text(company), {20, 220, 476, 48});
    lblCopyright->setWordWrap(true);
    lblCopyright->setAlignment(Qt::AlignCenter);

    showMainTimer.setInterval(500);
    showMainTimer.setSingleShot(true);
    closeTimer.setInterval(5000);
    closeTimer.setSingleShot(true);
    connect(&showMainTimer, &QTimer::timeout, this, &SplashWindow::showMainWindow);
    connect(&closeTimer, &QTimer::timeout, this, &SplashWindow::closeSplash);
}

SplashWindow::~SplashWindow() { unload(); }

void SplashWindow::showSplash()
{
    // Start-up messages must stand above the splash, not behind it.
    if (m_messages) m_messages->setTopMost(true);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_cursorSet = true;
    if (const QScreen *sc = screen()) move(sc->availableGeometry().center() - rect().center());
    show();
    showMainTimer.start();
}

void SplashWindow::showMainWindow()
{
    showMainTimer.stop();
    // The main window's load outlasts the splash when a start-up message waits for its answer
    // longer than closeTimer: it runs from the application's event loop with the callback handed
    // over, so the splash closing meanwhile destroys nothing the load still uses.
    if (m_showMain) QTimer::singleShot(0, qApp, std::exchange(m_showMain, {}));
}

void SplashWindow::closeSplash()
{
    closeTimer.stop();
    // Closing later, from the event loop, is safe even inside a message box's own loop.
    close();
}

void SplashWindow::closeEvent(QCloseEvent *event)
{
    unload();
    QWidget::closeEvent(event);
}

void SplashWindow::unload()
{
    showMainTimer.stop();
    closeTimer.stop();
    if (m_messages) {
        m_messages->setTopMost(false);
        m_messages = nullptr;
    }
    if (m_cursorSet) {
        QApplication::restoreOverrideCursor();
        m_cursorSet = false;
        emit unloaded();
    }
}

} // namespace zr730
