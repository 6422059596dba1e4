#include "styles/CompanyBlock.h"

#include "pageengine/PageEngine.h"

namespace CompanyBlock {

QStringList addressLines(const CompanyDetails &company)
{
    QStringList lines;
    for (const QString &line :
         {company.address1, company.address2, company.tel.isEmpty() ? QString() : "Tel: " + company.tel,
          company.fax.isEmpty() ? QString() : "Fax: " + company.fax}) {
        if (!line.isEmpty())
            lines << line;
    }
    return lines;
}

void write(PageEngine &vs, const QString &name, const QStringList &lines, double nameSize, double lineSize, double room)
{
    auto writeFitted = [&](const QString &text, double size) {
        vs.setFontSize(size);
        for (double smaller = size - 1; smaller >= 8 && vs.MeasureText(text) > room; smaller -= 1)
            vs.setFontSize(smaller);
        vs.Paragraph(text);
    };
    vs.setFontBold(true);
    writeFitted(name, nameSize);
    // At the spacing of their font: closer (80 %), a line's descenders touch the next one's
    // capitals.
    vs.setLineSpacing(100);
    vs.setFontBold(false);
    for (const QString &line : lines)
        writeFitted(line, lineSize);
}

} // namespace CompanyBlock
