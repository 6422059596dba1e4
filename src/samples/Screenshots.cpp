// rfscreenshots --program-dir DIR --out OUT [WINDOW...]: shows each named window of the suite
// around DIR on the display and writes what the whole screen shows with it into OUT/WINDOW.png,
// so a change to a window can be looked at on a screen of a given size (tools/screenshots runs
// it on a virtual 1280x900 screen). Without names every window is taken, in the table's order.
// Each window's line on standard output gives its frame and the screen's available area; a
// window that does not fit it fails the run.
//
// Windows: "print" (the print window as it loads), "preview" (the print window's preview of the
// suite's sales order with the most lines in the stored layout style: nothing is printed or
// marked printed),
// "setup" (the style setup window, opened from the print window), "main" (the main window over
// the suite's queue folder: its sample orders converted, those that fail left queued with their
// reasons, two more listed behind them; nothing is printed). The main window gives three
// pictures: main.png (the queue list), main-done.png (the done list) and main-terminal.png (the
// page of terminal 3).
//
// Exit status: 0 every window written and within the screen, 1 some were not (the reasons on
// standard error), 2 the print window cannot load, 64 command line wrong.

#include "module1/Module1.h"
#include "printui/ModalRunner.h"
#include "printui/PrintWindowStation.h"
#include "printui/mm_prtinv.h"
#include "queue/QueueService.h"
#include "queueui/frmTerminalMain.h"
#include "styles/StyleRegistration.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

struct Options
{
    QString programDir;
    QString out;
    QStringList windows;
};

void complain(const QString &text)
{
    std::fprintf(stderr, "rfscreenshots: %s\n", qPrintable(text));
}

// Lets the window system show and paint what was asked for.
void settle(int milliseconds)
{
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

class Camera
{
public:
    explicit Camera(QString out)
        : mOut(std::move(out))
    {
    }

    // Shows the window, waits until the window system has it on the screen, writes the screen
    // into OUT/NAME.png and reports where the window is.
    void take(const QString &name, QWidget &window)
    {
        mSeen << name;
        window.show();
        window.raise();
        window.activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (!(window.windowHandle() && window.windowHandle()->isExposed()) && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        if (!window.windowHandle() || !window.windowHandle()->isExposed()) {
            fail(name + QStringLiteral(": the window did not appear on the screen"));
            return;
        }
        settle(500);
        QScreen *screen = window.screen();
        const QString file = QDir(mOut).filePath(name + QStringLiteral(".png"));
        if (!screen->grabWindow(0).save(file)) {
            fail(name + QStringLiteral(": cannot write ") + file);
            return;
        }
        const QRect frame = window.frameGeometry();
        const QRect area = screen->availableGeometry();
        std::printf("%s: %dx%d at %d,%d; screen area %dx%d at %d,%d; %s\n", qPrintable(name), frame.width(),
                    frame.height(), frame.x(), frame.y(), area.width(), area.height(), area.x(), area.y(),
                    qPrintable(QDir::toNativeSeparators(file)));
        if (!area.contains(frame))
            fail(name + QStringLiteral(": the window does not fit the screen"));
    }

    void fail(const QString &text)
    {
        complain(text);
        ++mFailures;
    }
    int failures() const { return mFailures; }
    // Whether the window was asked to show.
    bool seen(const QString &name) const { return mSeen.contains(name); }

private:
    QString mOut;
    QStringList mSeen;
    int mFailures = 0;
};

// The main window over a queue service of its own on the suite (see the head of this file).
void takeMainWindow(Camera &camera, PrintWindowStation &station)
{
    station.window()->hide(); // the main window is looked at alone
    const QString programDir = station.window()->mProgramDir;
    QueueService service(programDir);
    frmTerminalMain window(service);
    if (window.Form_Load() != 0) {
        camera.fail(QStringLiteral("main: the queue service cannot start on ") + programDir);
        return;
    }
    // The cycle is driven here, at once: no timer, no settle time.
    service.setImmediatePickup(false);
    service.scanTimer()->stop();
    service.passTimer()->stop();
    service.readiness().setSettleMs(0);
    service.Timer1_Timer();
    service.Timer2_Timer();
    // Two more orders, listed and not converted yet: copies of saved ones under new names.
    const QString queue = service.context().folder(QueueFolderName);
    const QString archive = service.context().folder(ArchiveFolderName);
    for (const char *name : {"A1T2A", "A1T4A"}) {
        const QString again = QString::fromLatin1(name).chopped(1) + QLatin1Char('Z');
        QFile::copy(archive + '/' + name + "info.txt", queue + '/' + again + "info.crd");
        QFile::copy(archive + '/' + name + ".txt", queue + '/' + again + ".ord");
    }
    service.Timer1_Timer();

    camera.take(QStringLiteral("main"), window);
    window.SSTab1->setCurrentIndex(1);
    camera.take(QStringLiteral("main-done"), window);
    window.SSTab1->setCurrentIndex(4);
    camera.take(QStringLiteral("main-terminal"), window);
    window.hide();
}

// One entry per window; a new window is one more line here.
struct Window
{
    const char *name;
    std::function<void(Camera &, PrintWindowStation &)> show;
};

// The print window's modal windows (preview, style setup) are taken instead of waiting for a
// person; the name of the window asked for is the picture's name.
QString gModalName;

const Window Windows[] = {
    {"print",
     [](Camera &camera, PrintWindowStation &station) { camera.take(QStringLiteral("print"), *station.window()); }},
    {"preview",
     [](Camera &, PrintWindowStation &station) {
         mm_prtinv &window = *station.window();
         // The order with the most lines: the one most likely to fill more than a page.
         Recordset longest = window.mDB.openSnapshot(QStringLiteral(
             "select invno, count(*) as lines from sodetail group by invno order by count(*) desc, invno"));
         const QString order = longest.text(QStringLiteral("invno"));
         window.Option1[1]->setChecked(true);
         window.Option2[0]->setChecked(true);
         window.txtfrom[0]->setText(order);
         window.txtfrom[1]->setText(order);
         gModalName = QStringLiteral("preview");
         window.btnPrint_Click(1);
     }},
    {"setup",
     [](Camera &, PrintWindowStation &station) {
         gModalName = QStringLiteral("setup");
         station.window()->btnSetup_Click();
     }},
    {"main", takeMainWindow},
};

bool parse(const QStringList &args, Options &options)
{
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--program-dir") && i + 1 < args.size())
            options.programDir = args[++i];
        else if (args[i] == QLatin1String("--out") && i + 1 < args.size())
            options.out = args[++i];
        else if (std::any_of(std::begin(Windows), std::end(Windows),
                             [&](const Window &w) { return args[i] == QLatin1String(w.name); }))
            options.windows << args[i];
        else
            return false;
    }
    return !options.programDir.isEmpty() && !options.out.isEmpty();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    Options options;
    if (!parse(QCoreApplication::arguments(), options)) {
        QStringList names;
        for (const Window &w : Windows)
            names << QString::fromLatin1(w.name);
        std::fprintf(stderr, "usage: rfscreenshots --program-dir DIR --out OUT [%s]...\n",
                     qPrintable(names.join(QLatin1Char('|'))));
        return 64;
    }
    if (!QDir().mkpath(options.out)) {
        complain(QStringLiteral("cannot create ") + options.out);
        return 1;
    }
    const QString programDir = QDir(options.programDir).absolutePath();
    registerLayoutStyles();

    Camera camera(options.out);
    ModalRunner::setRunner([&camera](QDialog &dialog) {
        camera.take(gModalName, dialog);
        dialog.hide();
        return int(QDialog::Rejected);
    });

    PrintWindowStation station(programDir);
    try {
        station.showAfresh(nullptr);
    } catch (const std::exception &e) {
        complain(QStringLiteral("the print window cannot load: ") + QString::fromLocal8Bit(e.what()));
        return 2;
    }
    for (const Window &w : Windows) {
        const QString name = QString::fromLatin1(w.name);
        if (!options.windows.isEmpty() && !options.windows.contains(name))
            continue;
        try {
            w.show(camera, station);
        } catch (const std::exception &e) {
            camera.fail(name + QStringLiteral(": ") + QString::fromLocal8Bit(e.what()));
            continue;
        }
        if (!camera.seen(name))
            camera.fail(name + QStringLiteral(": the window was not shown"));
    }
    ModalRunner::setRunner({});
    station.closeWindow();
    return camera.failures() == 0 ? 0 : 1;
}
