#pragma once

#include "sqlaccess/Connection.h"
#include "printing/PrintRequest.h"
#include "printing/PrintSettings.h"
#include "printui/fEZPrint.h"

#include <QPointer>
#include <QWidget>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The sales order and picking sheet print window. It keeps what every print needs (settings,
// its own database handle, company details, printer, titles), lets the operator choose what to
// print, and hands each request, as a PrintRequest with a fresh PageEngine, to the print
// procedure of the configured layout style; a preview it then shows in the preview window.
class mm_prtinv : public QWidget
{
    Q_OBJECT

public:
    // `programDir`: the program folder the suite's settings are found from.
    explicit mm_prtinv(const QString &programDir, QWidget *parent = nullptr);
    ~mm_prtinv() override;

    QGroupBox *Frame1;
    QRadioButton *Option1[2];
    QGroupBox *Frame2;
    QRadioButton *Option2[2];
    QGroupBox *Picture1;
    QRadioButton *Option3[3];
    QLabel *lblfrom[2];
    QLineEdit *txtfrom[2];
    QComboBox *cmb_printers;
    QCheckBox *Check3;
    QPushButton *btnprint[2];
    QPushButton *btnSetup;
    QPushButton *Command1;
    QLineEdit *txtHeader;
    QLineEdit *txtOrderHeader;

    // Window settings, filled on load and used by the print procedures.
    QString mProgramDir;
    QString mIniFile;
    Connection mDB;
    CompanyDetails mCompany;
    bool mIsPreview = false;

    // Reads the settings, opens the database (throws DbError when it cannot), reads the company
    // details and the printers, and selects the options (PrintSettings::load).
    void Form_Load();

    // The request the controls describe. Order numbers given (either not empty) are printed as
    // given, whatever the order options say; the range is trimmed.
    PrintRequest printRequest(bool preview, const QString &from, const QString &to, bool givenRange) const;

    // The print request without user interaction; iPreview 0 prints. Order numbers given here
    // are printed as given, whatever the order options say; with both empty the range fields
    // and the options decide. Returns "" when the documents reached the printer, otherwise the
    // reason they did not.
    QString Print_So(int iPreview, const QString &argFrom, const QString &argTo);
    QString btnPrint_Click(int Index);

    void Option1_Click(int Index);
    void Option2_Click(int Index);
    void Option3_Click(int Index);
    void btnSetup_Click();
    void Command1_Click();
    // Writes the window's settings back to the account settings file.
    void Form_QueryUnload();

    // Closes the window for good: settings written, preview window unloaded, deleted later.
    void unload();
    bool isUnloaded() const { return mUnloaded; }

    // The engine of the last request, holding the document it laid out; null before the first.
    PageEngine *printEngine() const { return mEngine.get(); }
    // The preview window, loaded by the first preview and kept until a printed request.
    fEZPrint *loadedPreview() const { return mPreview; }
    void unloadPreview();

protected:
    void closeEvent(QCloseEvent *event) override;
    // Every show keeps the window within the screen it opens on.
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    QString request(bool preview, const QString &from, const QString &to, bool givenRange);
    // Shows the last request's document modally, without the preview window's print button.
    void showPreview();

    std::unique_ptr<PageEngine> mEngine;
    QPointer<fEZPrint> mPreview;
    bool mPreviewShowing = false;
    bool mUnloaded = false;
};
