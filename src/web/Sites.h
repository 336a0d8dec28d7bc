#pragma once

#include <QString>

namespace tx {

enum class MakerSite { First, Second };

// The maker's sites are the program's own offline pages in its folder (site/first,
// site/second); a path such as "/guanggao.htm" names a page of one of them.
QString makerSiteAddress(const QString& programDir, MakerSite site, const QString& path);

} // namespace tx
