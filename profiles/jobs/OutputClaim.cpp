#include "jobs/OutputClaim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace tavrin {

namespace fs = std::filesystem;

namespace {

// Candidates beyond this many are not tried: a folder that full is a fault elsewhere.
constexpr int kMaxNumber = 100000;

// Paths compared as the file they name, whether or not it exists yet.
std::string PathKey(const std::string& path)
{
    std::error_code error;
    const fs::path key = fs::weakly_canonical(fs::path(path), error);
    return error ? fs::path(path).lexically_normal().string() : key.string();
}

std::string Candidate(const std::string& base, const std::string& extension, int n)
{
    return n == 0 ? base + extension : base + "-" + std::to_string(n) + extension;
}

bool SameInode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// True when candidate is the very file one of sources names.
bool IsASource(const std::string& candidate, const std::vector<std::string>& sources)
{
    struct stat target{};
    if (stat(candidate.c_str(), &target) != 0)
        return false;
    for (const std::string& source : sources) {
        struct stat st{};
        if (stat(source.c_str(), &st) == 0 && SameInode(st, target))
            return true;
    }
    return false;
}

enum class TOpenResult { claimed, taken, refused };

// Opens candidate for the claim: exclusively when it must be new, and only when it can be
// written without blocking when it may be replaced. Then locks it; a lock held elsewhere means taken.
TOpenResult OpenAndLock(const std::string& candidate, bool overwrite, int& fd, bool& created)
{
    created = false;
    fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
        created = true;
    } else if (errno != EEXIST) {
        return TOpenResult::refused;
    } else if (!overwrite) {
        return TOpenResult::taken;
    } else {
        fd = open(candidate.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        struct stat st{};
        // A pipe would hold the run for ever and a folder cannot be written; a device
        // (/dev/null, /dev/full) may be written as a file is.
        if (fd < 0 || fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISCHR(st.st_mode))) {
            if (fd >= 0)
                close(fd);
            fd = -1;
            return TOpenResult::taken;
        }
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        // Another run opened the file first; it is theirs now, even one this call created.
        close(fd);
        fd = -1;
        return TOpenResult::taken;
    }
    return TOpenResult::claimed;
}

}  // namespace

TOutputClaim::TOutputClaim(int fd, std::string path, bool created)
    : FFd(fd), FPath(std::move(path)), FCreated(created)
{
}

TOutputClaim::~TOutputClaim()
{
    Release();
}

TOutputClaim::TOutputClaim(TOutputClaim&& other) noexcept
    : FFd(std::exchange(other.FFd, -1)), FPath(std::move(other.FPath)),
      FCreated(std::exchange(other.FCreated, false))
{
}

TOutputClaim& TOutputClaim::operator=(TOutputClaim&& other) noexcept
{
    if (this != &other) {
        Release();
        FFd = std::exchange(other.FFd, -1);
        FPath = std::move(other.FPath);
        FCreated = std::exchange(other.FCreated, false);
    }
    return *this;
}

bool TOutputClaim::Release()
{
    struct stat atName{};
    const bool there = !FPath.empty() && stat(FPath.c_str(), &atName) == 0;
    if (FFd < 0)
        return there;
    struct stat held{};
    const bool ours = fstat(FFd, &held) == 0 && there && SameInode(held, atName);
    // Deleted while still locked, so no other run can have claimed the empty file meanwhile.
    const bool unused = ours && FCreated && atName.st_size == 0;
    if (unused)
        unlink(FPath.c_str());
    close(FFd);
    FFd = -1;
    return there && !unused;
}

void TOutputLedger::BeginBatch()
{
    std::lock_guard lock(FMutex);
    FWritten.clear();
}

bool TOutputLedger::Usable(const std::string& candidate, bool overwrite,
                           const std::vector<std::string>& sources) const
{
    if (FWritten.count(PathKey(candidate)))
        return false;
    return !overwrite || !IsASource(candidate, sources);
}

TOutputClaim TOutputLedger::Claim(const std::string& base, const std::string& extension,
                                  bool overwrite, const std::vector<std::string>& sources)
{
    std::lock_guard lock(FMutex);
    for (int n = 0; n <= kMaxNumber; ++n) {
        const std::string candidate = Candidate(base, extension, n);
        // Only the plain name may replace a file; a numbered name is always a new file.
        const bool replace = overwrite && n == 0;
        if (!Usable(candidate, replace, sources))
            continue;
        int fd = -1;
        bool created = false;
        switch (OpenAndLock(candidate, replace, fd, created)) {
        case TOpenResult::claimed:
            FWritten.insert(PathKey(candidate));
            return TOutputClaim(fd, candidate, created);
        case TOpenResult::refused:
            return TOutputClaim(-1, candidate, false);
        case TOpenResult::taken:
            break;
        }
    }
    return TOutputClaim(-1, Candidate(base, extension, 0), false);
}

std::string TOutputLedger::Predict(const std::string& base, const std::string& extension,
                                   bool overwrite, const std::vector<std::string>& sources) const
{
    std::lock_guard lock(FMutex);
    for (int n = 0; n <= kMaxNumber; ++n) {
        const std::string candidate = Candidate(base, extension, n);
        const bool replace = overwrite && n == 0;
        std::error_code error;
        if (Usable(candidate, replace, sources) && (replace || !fs::exists(candidate, error)))
            return candidate;
    }
    return Candidate(base, extension, 0);
}

void TOutputLedger::Release(TOutputClaim& claim)
{
    const std::string path = claim.Path();
    if (claim.Release() || path.empty())
        return;
    std::lock_guard lock(FMutex);
    FWritten.erase(PathKey(path));
}

}  // namespace tavrin
