#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

// Lets the operator choose the layout style in which sales orders and picking sheets print;
// the code is stored as [AUTOPICKINGSHEET] Format in the account settings file. Opened modally
// from the print window, and made afresh each time. Its size is fixed, with room for the longest
// description.
class mm_PickSheetStyleSetup : public QDialog
{
    Q_OBJECT

public:
    // `iniFile`: the suite's account settings file, where the style code is kept.
    explicit mm_PickSheetStyleSetup(const QString &iniFile, QWidget *parent = nullptr);

    QLabel *Label1;
    QComboBox *Combo1;
    QLabel *Label2;
    QPushButton *btnOK;
    QPushButton *Command1;

    QString mIniFile;

    // Shows the stored code and its description (none for a code the list does not offer).
    void Form_Load();
    // Shows the description of the code in the box.
    void Combo1_Click();
    void btnOK_Click();
    void Command1_Click();
};
