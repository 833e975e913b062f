#pragma once
// The splash window: product name, platform and notice, top-most while the main window loads
// under it. showMainTimer shows the main window half a second after the splash; closeTimer, started by the
// main window's load, closes the splash five seconds later. The busy cursor lasts as long as
// the splash.
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "support/program_state.h"

class QLabel;

namespace zr730 {

class MessageBoxService;

// Texts both product windows compose from the version string, the company text and the edition.
inline constexpr const char *kVersionString = "ZR730K V6.10";
QString product_word(); // the version string's first six characters
QString notice_text(const QString &company);

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    // showMain: what showMainTimer hands to the event loop (the splash keeps no part of it). messages: the boxes shown meanwhile are put above the splash.
    SplashWindow(const QString &company, LinkSelector edition, std::function<void()> showMain,
              MessageBoxService *messages = nullptr);
    ~SplashWindow() override;

    void showSplash();
    void showMainWindow();
    void closeSplash();

    QTimer showMainTimer; // 500 ms, enabled at load
    QTimer closeTimer; // 5000 ms, started by the main window's load
    QLabel *lblProductName = nullptr;
    QLabel *lblPlatformAndVersion = nullptr;
    QLabel *lblCopyright = nullptr;
    QWidget *BackgroundPicture = nullptr;

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void unload();

    std::function<void()> m_showMain;
    MessageBoxService *m_messages;
    bool m_cursorSet = false;
};

} // namespace zr730
