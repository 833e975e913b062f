#pragma once
// The About box of Help ▸ About: product title, version, model and notice; "OK" closes it.
#include <QDialog>

#include "support/program_state.h"

class QLabel;
class QPushButton;

namespace zr730 {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(const QString &company, LinkSelector edition, QWidget *parent = nullptr);

    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *lblDescription = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace zr730
