// Choosing a row's output name so that no conversion ever replaces a person's file or
// another conversion's output.
//
// A name is claimed by opening the file and taking an exclusive advisory lock on it for as
// long as the row runs. A name that another run anywhere (another window, another
// tavrin-convert) holds is passed over for the next number, and so is a name created in
// the meantime by a run without overwrite: creation is exclusive. Within one batch a name
// another row wrote is never reused, and with overwriting on, a file that any row of the
// list reads is never replaced.
#pragma once

#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace tavrin {

// One claimed output name. The lock goes with the object; released, a file the claim
// created and nobody wrote is deleted again.
class TOutputClaim {
public:
    TOutputClaim() = default;
    TOutputClaim(int fd, std::string path, bool created);
    ~TOutputClaim();
    TOutputClaim(TOutputClaim&& other) noexcept;
    TOutputClaim& operator=(TOutputClaim&& other) noexcept;
    TOutputClaim(const TOutputClaim&) = delete;
    TOutputClaim& operator=(const TOutputClaim&) = delete;

    const std::string& Path() const { return FPath; }
    bool Held() const { return FFd >= 0; }
    // Unlocks; true when the claimed file still holds something at its name.
    bool Release();

private:
    int FFd = -1;
    std::string FPath;
    bool FCreated = false;
};

// The names the rows of one batch have claimed; shared by every builder of the batch.
class TOutputLedger {
public:
    // A new batch: names written by earlier batches may be overwritten again.
    void BeginBatch();
    // Claims base + extension, or else base-N + extension for the smallest N that is free.
    // Free means: not written by this batch, not held by another run, and not existing at
    // all, except that with overwrite the plain name may replace an existing file that is
    // none of sources. A name the folder
    // refuses (missing, read-only) is returned unclaimed, so the engine says why.
    TOutputClaim Claim(const std::string& base, const std::string& extension, bool overwrite,
                       const std::vector<std::string>& sources);
    // The name Claim would try first, without claiming it.
    std::string Predict(const std::string& base, const std::string& extension, bool overwrite,
                        const std::vector<std::string>& sources) const;
    // Releases claim; a name whose file is gone (its row failed) is free again.
    void Release(TOutputClaim& claim);

private:
    bool Usable(const std::string& candidate, bool overwrite,
                const std::vector<std::string>& sources) const;

    mutable std::mutex FMutex;
    std::set<std::string> FWritten;
};

}  // namespace tavrin
