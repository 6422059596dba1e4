#pragma once

#include "pageengine/PageEngine.h"

#include <QDialog>
#include <memory>

class PagePreview;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QToolButton;
class QHBoxLayout;
class QVBoxLayout;

// The preview window. It shows the document of a page engine it is given (the print window's
// engine of the last request), so the operator can page through it, zoom and print all of it or
// a page range. The engine must outlive the window or be replaced through setEngine first. Like
// the original preview window, it switches the engine it is given to preview mode: EndDoc then
// completes a document without printing it.
class fEZPrint : public QDialog
{
    Q_OBJECT

public:
    explicit fEZPrint(PageEngine &engine, QWidget *parent = nullptr);
    ~fEZPrint() override;

    // The engine shown.
    PageEngine &vsPrinter() const { return *mEngine; }
    // Shows another engine's document; the window keeps its zoom, range and printer setup.
    void setEngine(PageEngine &engine);

    PagePreview *vsPrinterView;
    QWidget *picPrinterControlBar;
    // First, previous, next, last page.
    QToolButton *cmdPage[4];
    // "Page k of n".
    QLabel *lblPage;
    // Lowest zoom, zoom out, zoom in, highest zoom.
    QToolButton *cmdZoom[4];
    QLabel *lblZoom;
    QPushButton *cmdFitWidth;
    QRadioButton *Option1;
    QRadioButton *Option2;
    QLineEdit *Text1[2];
    QPushButton *cmdPrint[2];
    QPushButton *Command1;

    // Shows the document from its first page, modally (ModalRunner), within the screen it opens on.
    int showModal();

    void cmdPage_Click(int index);
    void cmdZoom_Click(int index);
    void cmdFitWidth_Click();
    void UpdateControlBar();
    void Option1_Click();
    void Option2_Click();
    void Text1_LostFocus(int index);
    void cmdPrint_Click(int index);
    void Command1_Click();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    // The first show takes the screen less a margin; later shows keep the operator's size as far
    // as the screen allows. A screen too narrow for the tool bar in one row gets it in two.
    void placeOnScreen();
    void printDocument();
    void setupPrinter();
    // The range field's value as a page number (Text1_LostFocus has normalised it).
    int rangeValue(int index) const;

    // The system printer as the operator set it up through "Setup"; used while the document
    // goes to that printer.
    std::unique_ptr<QPrinter> mPrinterSetup;
    PageEngine *mEngine = nullptr;
    // Paging and zoom controls, and the print controls (range and buttons), which take a second
    // row of the tool bar on a narrow screen.
    QWidget *mNavigation = nullptr;
    QWidget *mPrintControls = nullptr;
    QVBoxLayout *mToolRows = nullptr;
    QHBoxLayout *mFirstRow = nullptr;
    bool mPlaced = false;
};
