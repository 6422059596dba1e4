#include "dbservice/clsServer.h"

QString clsServer::Get_DbErrorMessage(const DbError &error, const QString &fieldName) const
{
    const QString number = QString::number(error.number());
    // A unique index refused the row: almost always a document number handed out twice, so the
    // text sends the operator to the numbering setup.
    if (error.description().contains(QLatin1String("duplicate values in the index"), Qt::CaseSensitive)) {
        if (fieldName.isEmpty())
            return "Error :" + number + " (Duplicate Entry) "
                   + "If you are using Auto No. or Next No option then change 'Next No.' in the "
                     "corresponding Next Number Setup Screen. If you typed in a number then change "
                     "to the other number then try again.";
        return "Error :" + number + " (Duplicate Entry) "
               + "If you are using Auto No. or Next No option then change 'Next No.' in the " + fieldName
               + " Setup Screen. If you typed in the " + fieldName + " field then change the " + fieldName
               + " then try again.";
    }
    return "Error :" + number + " " + error.description();
}
