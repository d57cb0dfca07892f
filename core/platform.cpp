#include "platform.h"

namespace ravelin {

namespace {
UrlOpener &installedOpener()
{
    static UrlOpener opener;
    return opener;
}
} // namespace

void setUrlOpener(UrlOpener opener)
{
    installedOpener() = std::move(opener);
}

bool openWithSystem(const QUrl &url)
{
    return installedOpener() ? installedOpener()(url) : false;
}

} // namespace ravelin
