#include "jobs/SourceKind.h"

#include <sys/stat.h>

namespace tavrin {

namespace {

struct TKindText {
    mode_t Type;
    const char* Text;
};

constexpr TKindText kRefusedKinds[] = {
    {S_IFDIR, "is a folder"},
    {S_IFIFO, "is a named pipe"},
    {S_IFSOCK, "is a socket"},
    {S_IFCHR, "is a device"},
    {S_IFBLK, "is a device"},
};

}  // namespace

std::string SourceRefusal(const std::string& path)
{
    struct stat st{};
    if (stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    for (const TKindText& kind : kRefusedKinds)
        if ((st.st_mode & S_IFMT) == kind.Type)
            return "'" + path + "' " + kind.Text + ", not a file; only files can be converted";
    return "'" + path + "' is not a file; only files can be converted";
}

}  // namespace tavrin
