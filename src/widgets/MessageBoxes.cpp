#include "widgets/MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

void MessageBoxes::show(const QString &text, const QString &title, MessageIcon icon, QObject *parent)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case MessageIcon::Information: boxIcon = QMessageBox::Information; break;
    case MessageIcon::Exclamation: boxIcon = QMessageBox::Warning; break;
    case MessageIcon::Critical: boxIcon = QMessageBox::Critical; break;
    case MessageIcon::None: break;
    }
    QMessageBox box(boxIcon, title, text, QMessageBox::Ok, qobject_cast<QWidget *>(parent));
    box.exec();
}

bool MessageBoxes::ask(const QString &text, const QString &title, QObject *parent)
{
    return QMessageBox::question(qobject_cast<QWidget *>(parent), title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}

void MessageBoxes::beep()
{
    QApplication::beep();
}

void InstallMessageBoxes()
{
    static MessageBoxes boxes;
    SetMessagePresenter(&boxes);
}
