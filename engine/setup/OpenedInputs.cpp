#include "setup/OpenedInputs.h"

#include <sys/stat.h>

#include <algorithm>
#include <deque>
#include <mutex>
#include <vector>

#include "binding/Binding.h"
#include "binding/LibAV.h"

namespace tavrin {
namespace {

// Enough for a usual batch; a folder of a thousand files keeps only its last few open.
constexpr size_t kKeptInputs = 16;

struct TKeptInput {
    std::string Path;
    TFileIdentity Identity;
    InputContextPtr Context;
};

struct TShelf {
    std::mutex Lock;
    std::deque<TKeptInput> Inputs;  // oldest first
};

TShelf& Shelf() {
    static TShelf shelf;
    return shelf;
}

struct TPictureSize {
    int width, height;
};

}  // namespace

TFileIdentity IdentityOf(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return {};
    return {static_cast<unsigned long long>(st.st_dev), static_cast<unsigned long long>(st.st_ino),
            static_cast<long long>(st.st_size), st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
}

int ReadStreamInfo(AVFormatContext* ic) {
    std::vector<TPictureSize> header;
    for (unsigned i = 0; i < ic->nb_streams; ++i)
        header.push_back({ic->streams[i]->codecpar->width, ic->streams[i]->codecpar->height});
    int ret;
    {
        // Reading stream information opens decoders, which must not run in parallel.
        std::lock_guard lock(CodecLock());
        ret = avformat_find_stream_info(ic, nullptr);
    }
    for (unsigned i = 0; i < ic->nb_streams && i < header.size(); ++i) {
        AVCodecParameters* par = ic->streams[i]->codecpar;
        if (par->codec_type == AVMEDIA_TYPE_VIDEO && par->width == 0 && par->height == 0 &&
            av_image_check_size(header[i].width, header[i].height, 0, nullptr) < 0) {
            par->width = header[i].width;
            par->height = header[i].height;
        }
    }
    return ret;
}

void KeepOpenedInput(const std::string& path, const TFileIdentity& identity, InputContextPtr context) {
    if (!context || identity.Size < 0)
        return;
    std::vector<InputContextPtr> closing;  // closed outside the lock
    {
        TShelf& shelf = Shelf();
        std::lock_guard lock(shelf.Lock);
        for (auto it = shelf.Inputs.begin(); it != shelf.Inputs.end();)
            if (it->Path == path) {
                closing.push_back(std::move(it->Context));
                it = shelf.Inputs.erase(it);
            } else {
                ++it;
            }
        shelf.Inputs.push_back({path, identity, std::move(context)});
        while (shelf.Inputs.size() > kKeptInputs) {
            closing.push_back(std::move(shelf.Inputs.front().Context));
            shelf.Inputs.pop_front();
        }
    }
}

InputContextPtr TakeOpenedInput(const std::string& path) {
    InputContextPtr taken;
    TFileIdentity identity;
    {
        TShelf& shelf = Shelf();
        std::lock_guard lock(shelf.Lock);
        const auto it = std::find_if(shelf.Inputs.begin(), shelf.Inputs.end(),
                                     [&](const TKeptInput& k) { return k.Path == path; });
        if (it == shelf.Inputs.end())
            return nullptr;
        taken = std::move(it->Context);
        identity = it->Identity;
        shelf.Inputs.erase(it);
    }
    if (IdentityOf(path) != identity)
        return nullptr;  // changed since: the caller opens it afresh
    return taken;
}

int KeptInputCount() {
    TShelf& shelf = Shelf();
    std::lock_guard lock(shelf.Lock);
    return static_cast<int>(shelf.Inputs.size());
}

void DropOpenedInputs() {
    std::deque<TKeptInput> closing;
    TShelf& shelf = Shelf();
    std::lock_guard lock(shelf.Lock);
    closing.swap(shelf.Inputs);
}

}  // namespace tavrin
