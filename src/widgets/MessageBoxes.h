#pragma once

#include "module1/Module1.h"

// The windowed program's messages: a message box with an OK button, a Yes/No question, the
// system's beep. Installed once the widget application exists (InstallMessageBoxes).
class MessageBoxes final : public MessagePresenter
{
public:
    void show(const QString &text, const QString &title, MessageIcon icon, QObject *parent) override;
    bool ask(const QString &text, const QString &title, QObject *parent) override;
    void beep() override;
};

// Makes ShowMessage and AskYesNo use message boxes from now on.
void InstallMessageBoxes();
