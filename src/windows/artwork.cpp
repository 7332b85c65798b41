#include "windows/artwork.h"

// The resources are built into the static library, whose linker would drop
// them unless something refers to them; this does.
static void loadResources()
{
    static const bool loaded = [] {
        Q_INIT_RESOURCE(resources);
        return true;
    }();
    (void)loaded;
}

QIcon programIcon()
{
    loadResources();
    return QIcon(":/art/dun2.png");
}

QPixmap aboutPicture()
{
    loadResources();
    return QPixmap(":/art/about.png");
}
