// Inputs a probe has opened and analysed, kept for the task that converts the same file
// next: a listed file is then opened and its streams read once, not once for the list and
// again for the conversion. Few are kept (each holds a file and the packets read while
// analysing), the newest first; a file changed since it was opened is opened afresh.
#pragma once

#include <string>

#include "binding/Owners.h"

namespace tavrin {

// What tells one version of a file from another: device, inode, size, modification time.
struct TFileIdentity {
    unsigned long long Device = 0, Inode = 0;
    long long Size = -1, ModifiedNanos = 0;
    bool operator==(const TFileIdentity&) const = default;
};
// Empty (Size -1) when the path cannot be read.
TFileIdentity IdentityOf(const std::string& path);

// Reads the stream information as a task needs it, keeping a picture size only the header
// gives (one no decoder accepts) so that the refusal can name it. Library result code.
int ReadStreamInfo(AVFormatContext* ic);

// Safe from any thread. Keeping an input of a path already kept replaces the older one.
void KeepOpenedInput(const std::string& path, const TFileIdentity& identity, InputContextPtr context);
// The kept input of that path when the file is still the one opened; null otherwise.
InputContextPtr TakeOpenedInput(const std::string& path);
int KeptInputCount();
void DropOpenedInputs();

}  // namespace tavrin
