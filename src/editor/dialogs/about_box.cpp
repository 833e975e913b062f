#include "editor/dialogs/about_box.h"

#include <QLabel>
#include <QPushButton>

#include "editor/controls.h"
#include "editor/dialogs/splash_window.h"

namespace zr730 {

AboutBox::AboutBox(const QString &company, LinkSelector edition, QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    setFixedSize(440, 250);
    lblTitle = makeLabel(this, "lblTitle",
                         product_word() + (edition == LinkSelector::Usb ? QStringLiteral("52(USB) Pager Programmer")
                                                                        : QStringLiteral(" Pager Programmer")),
                         {20, 16, 400, 30});
    QFont bold = lblTitle->font();
    bold.setPointSizeF(bold.pointSizeF() * 1.4);
    bold.setBold(true);
    lblTitle->setFont(bold);
    lblVersion = makeLabel(this, "lblVersion", "Version 6.10(2010.9.21)", {20, 50, 400, 22});
    // The caption's CR LF is one line break.
    Label2 = makeLabel(this, "Label2", QStringLiteral(" This program can be used for\r\n  model ZR-730K52").replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
                       {20, 80, 400, 44});
    lblDescription = makeLabel(this, "lblDescription", notice_text(company), {20, 136, 400, 48});
    lblDescription->setWordWrap(true);
    cmdOK = makeButton(this, "cmdOK", "OK", {330, 204, 90, 30});
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::paintEvent(QPaintEvent *) { paint_dialog_background(this); }

} // namespace zr730
