#pragma once
// A mill's own place on a shared PostgreSQL server: a login role with a
// password, a database that role owns, and the schemas vel, sc and histvel
// owned by it. The workstations connect as that role, which can reach its
// own mill's database and nothing else on the server.

#include "data/connectionsettings.h"

#include <QStringList>

namespace fm {

class Session;

struct MillServerResult {
    bool roleCreated = false; // false: the role existed and was given the password
    bool databaseCreated = false;
    QStringList schemasCreated;
};

// Lower-case letters, digits and "_", starting with a letter or "_", at most
// 63 characters: a role or database name that needs no quoting and cannot be
// mistaken for another in a different letter case.
bool isPlainServerName(const QString &name);

// Connected as admin (a role that may create roles and databases, usually
// the server's superuser; admin.database is not used), creates what is
// missing and gives an existing role the password. Refuses a role that is a
// superuser, and a database or schema that belongs to another role: their
// tables would stay out of the mill role's reach. Throws DomainError for
// refusals and DbError for the server's own failures.
MillServerResult setUpMillServer(const ConnectionSettings &admin, const QString &role, const QString &password,
                                 const QString &database);

// From here on the session creates and writes as the mill's role, so what it
// creates belongs to that role although an administrator connected it.
void actAsRole(Session &session, const QString &role);

} // namespace fm
