#include "pageengine/internal/CupsQueue.h"

#include <QStringList>
#include <QUrl>
#include <QVector>
#include <cups/cups.h>
#include <iterator>
#include <memory>

namespace CupsQueue {

namespace {

constexpr qsizetype Chunk = 64 * 1024;

struct IppDelete
{
    void operator()(ipp_t *ipp) const { ippDelete(ipp); }
};
using Ipp = std::unique_ptr<ipp_t, IppDelete>;

struct QueueState
{
    QString error; // the scheduler gave no answer: no such queue, or no scheduler
    int state = IPP_PSTATE_IDLE;
    bool accepting = true;
    QString message;
    QStringList reasons;
    QString deviceUri;
};

// The queue's name without the instance: options of lpoptions instances are the client's.
QByteArray queueName(const QString &printer)
{
    return printer.section(QLatin1Char('/'), 0, 0).toUtf8();
}

QString lastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

bool failed(ipp_status_t status)
{
    return status > IPP_STATUS_OK_CONFLICTING;
}

QString text(ipp_t *response, const char *name, ipp_tag_t tag)
{
    ipp_attribute_t *attribute = ippFindAttribute(response, name, tag);
    return attribute ? QString::fromUtf8(ippGetString(attribute, 0, nullptr)) : QString();
}

QueueState queryQueue(const QByteArray &queue)
{
    QueueState result;
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.constData());
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = {"printer-state", "printer-state-message", "printer-state-reasons",
                                         "printer-is-accepting-jobs", "device-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(std::size(wanted)),
                  nullptr, wanted);
    const Ipp response(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"));
    if (!response || failed(cupsLastError())) {
        result.error = lastError();
        return result;
    }
    if (ipp_attribute_t *state = ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM))
        result.state = ippGetInteger(state, 0);
    if (ipp_attribute_t *accepting = ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN))
        result.accepting = ippGetBoolean(accepting, 0) != 0;
    if (ipp_attribute_t *reasons = ippFindAttribute(response.get(), "printer-state-reasons", IPP_TAG_KEYWORD)) {
        for (int i = 0; i < ippGetCount(reasons); ++i) {
            const QString reason = QString::fromUtf8(ippGetString(reasons, i, nullptr));
            if (reason != QLatin1String("none"))
                result.reasons << reason;
        }
    }
    result.message = text(response.get(), "printer-state-message", IPP_TAG_TEXT);
    result.deviceUri = text(response.get(), "device-uri", IPP_TAG_URI);
    return result;
}

// ": <why>" from the queue's message or its state reasons, or nothing.
QString because(const QueueState &state)
{
    const QString why = state.message.isEmpty() ? state.reasons.join(QStringLiteral(", ")) : state.message;
    return why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why);
}

} // namespace

namespace {

struct DestsDelete
{
    int count = 0;
    void operator()(cups_dest_t *dests) const { cupsFreeDests(count, dests); }
};

// Calls `use` with every destination the scheduler lists.
template <typename F>
void forEachDest(F &&use)
{
    cups_dest_t *dests = nullptr;
    const int count = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    const std::unique_ptr<cups_dest_t, DestsDelete> owner(dests, DestsDelete{count});
    for (int i = 0; i < count; ++i)
        use(dests[i]);
}

QString destName(const cups_dest_t &dest)
{
    const QString name = QString::fromUtf8(dest.name);
    return dest.instance ? name + QLatin1Char('/') + QString::fromUtf8(dest.instance) : name;
}

constexpr double TwipsPerHundredthMm = 1440.0 / 2540.0;

Media mediaOf(const cups_size_t &size)
{
    const auto twips = [](int hundredthsMm) { return hundredthsMm * TwipsPerHundredthMm; };
    return {QSizeF(twips(size.width), twips(size.length)),
            QMarginsF(twips(size.left), twips(size.top), twips(size.right), twips(size.bottom))};
}

// The queue's paper chosen by `pick` (cupsGetDestMediaDefault or ...BySize) from its information.
template <typename Pick>
std::optional<Media> media(const QString &printer, Pick &&pick)
{
    std::optional<Media> result;
    const QByteArray queue = queueName(printer);
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest)
        return result;
    if (cups_dinfo_t *info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        cups_size_t size = {};
        if (pick(dest, info, &size))
            result = mediaOf(size);
        cupsFreeDestInfo(info);
    }
    cupsFreeDests(1, dest);
    return result;
}

} // namespace

QStringList printers()
{
    QStringList names;
    forEachDest([&names](const cups_dest_t &dest) { names << destName(dest); });
    return names;
}

QString defaultPrinter()
{
    QString name;
    forEachDest([&name](const cups_dest_t &dest) {
        if (dest.is_default && name.isEmpty())
            name = destName(dest);
    });
    return name;
}

std::optional<Media> defaultMedia(const QString &printer)
{
    return media(printer, [](cups_dest_t *dest, cups_dinfo_t *info, cups_size_t *size) {
        return cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, size) != 0;
    });
}

std::optional<Media> mediaFor(const QString &printer, QSizeF size)
{
    const int width = int(size.width() / TwipsPerHundredthMm + 0.5);
    const int length = int(size.height() / TwipsPerHundredthMm + 0.5);
    return media(printer, [width, length](cups_dest_t *dest, cups_dinfo_t *info, cups_size_t *found) {
        return cupsGetDestMediaBySize(CUPS_HTTP_DEFAULT, dest, info, width, length, CUPS_MEDIA_FLAGS_DEFAULT, found)
            != 0;
    });
}

QString port(const QString &printer)
{
    const QueueState state = queryQueue(queueName(printer));
    return state.deviceUri.isEmpty() ? QString() : QUrl(state.deviceUri).toString(QUrl::RemoveUserInfo);
}

QString submit(const QString &printer, const QString &title, const QByteArray &pdf, const Options &options)
{
    const QByteArray queue = queueName(printer);
    const QueueState state = queryQueue(queue);
    if (!state.error.isEmpty())
        return QStringLiteral("The printer \"%1\" is not available: %2").arg(printer, state.error);
    if (!state.accepting)
        return QStringLiteral("The printer \"%1\" is not accepting print jobs%2.").arg(printer, because(state));
    if (state.state == IPP_PSTATE_STOPPED)
        return QStringLiteral("The printer \"%1\" is stopped%2.").arg(printer, because(state));

    QVector<cups_option_t> cupsOptions;
    for (const auto &[name, value] : options)
        cupsOptions.append(cups_option_t{const_cast<char *>(name.constData()), const_cast<char *>(value.constData())});
    const QByteArray jobTitle = title.toUtf8();
    const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), jobTitle.constData(), int(cupsOptions.size()),
                                  cupsOptions.data());
    if (job <= 0)
        return QStringLiteral("The printer \"%1\" did not accept the print job: %2").arg(printer, lastError());

    QString error;
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, jobTitle.constData(), CUPS_FORMAT_PDF, 1)
        != HTTP_STATUS_CONTINUE) {
        error = lastError();
    } else {
        for (qsizetype at = 0; at < pdf.size() && error.isEmpty(); at += Chunk) {
            if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + at, size_t(qMin(Chunk, pdf.size() - at)))
                != HTTP_STATUS_CONTINUE)
                error = lastError();
        }
        // The scheduler's answer to the document; after a failed write it tells why.
        if (failed(cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData())) && error.isEmpty())
            error = lastError();
    }
    if (error.isEmpty())
        return {};
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), job, 0);
    return QStringLiteral("The print job on the printer \"%1\" failed and was cancelled: %2").arg(printer, error);
}

} // namespace CupsQueue
