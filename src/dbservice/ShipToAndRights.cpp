#include "dbservice/clsServer.h"


namespace {

const QString NoRight = QStringLiteral("This User doesn't have the right for this transaction !");

} // namespace

Recordset clsServer::Get_Selected_ShippingAddress(const QString &tmpCustNo, const QString &tmpShiptoName)
{
    m_lastError.clear();
    try {
        checkConnection();
        return openSnapshot("SELECT * FROM shipto where custno = '" + quoted(tmpCustNo)
                            + "' and shiptoname='" + quoted(tmpShiptoName) + "'");
    } catch (const std::exception &e) {
        rememberFailure(e);
        return Get_Blank_Recordset();
    }
}

QString clsServer::Gettf_UserRight(const QString &argUserId, const QString &argPassword,
                                   const QString &argFormid)
{
    try {
        checkConnection();
        Recordset user = openSnapshot("select slevel,password from userinfo where uid='" + quoted(argUserId) + "'");
        if (user.eof() || user.bof())
            return QStringLiteral("False");
        user.moveFirst();
        // A user without a stored password is refused: a null must not let any password in.
        if (user.isNull(QStringLiteral("password"))
            || user.text(QStringLiteral("password")).toUpper() != argPassword.toUpper())
            return QStringLiteral("Password is incorrect!");

        Recordset right = openSnapshot("select * from userright where slevel='"
                                       + quoted(user.text(QStringLiteral("slevel"))) + "' and uid='"
                                       + quoted(argFormid) + "'");
        if (right.eof() || right.bof())
            return NoRight;
        right.moveFirst();
        const bool granted = !right.isNull(QStringLiteral("pwr")) && right.number(QStringLiteral("pwr")) == 1;
        return granted ? QString() : NoRight;
    } catch (const std::exception &e) {
        return Get_DbErrorMessage(failure(e));
    }
}
