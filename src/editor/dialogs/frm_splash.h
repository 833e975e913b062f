#pragma once
// The splash window: product name, platform and notice, top-most while the main window loads
// under it. Timer1 shows the main window half a second after the splash; Timer2, started by the
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

class frmSplash : public QWidget {
    Q_OBJECT
public:
    // showMain: what Timer1 hands to the event loop (the splash keeps no part of it). messages: the boxes shown meanwhile are put above the splash.
    frmSplash(const QString &company, LinkSelector edition, std::function<void()> showMain,
              MessageBoxService *messages = nullptr);
    ~frmSplash() override;

    void Form_Load();
    void Timer1_Timer();
    void Timer2_Timer();

    QTimer Timer1; // 500 ms, enabled at load
    QTimer Timer2; // 5000 ms, started by the main window's load
    QLabel *lblProductName = nullptr;
    QLabel *lblPlatformAndVersion = nullptr;
    QLabel *lblCopyright = nullptr;
    QWidget *BackgroundPicture = nullptr;

signals:
    void unloaded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void Form_Unload();

    std::function<void()> m_showMain;
    MessageBoxService *m_messages;
    bool m_cursorSet = false;
};

} // namespace zr730
