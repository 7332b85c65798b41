#include "player/regularfile.h"

#include <sys/stat.h>

bool isRegularFile(const QByteArray &path)
{
    struct stat status;
    return !path.isEmpty() && stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}
