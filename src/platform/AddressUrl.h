#pragma once

#include <QString>
#include <QUrl>

namespace tx {

// The one reading of an address as the program hands it over (a stored courseware address,
// a link, a page of the program's own sites): a web or file: address stays as it is; a
// plain path, also a Windows one with '\' or a drive letter, becomes a file: address, a
// relative one taken from the working folder (the program's folder).
QUrl addressToUrl(const QString& address);

} // namespace tx
