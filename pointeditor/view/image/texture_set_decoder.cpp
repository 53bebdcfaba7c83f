#include "pointeditor/view/image/texture_set_decoder.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <future>
#include <optional>
#include <system_error>
#include <thread>

#include "common/files/file_read.h"
#include "pointeditor/view/device/device.h"
#include "pointeditor/view/image/pixels_in_flight.h"

namespace tavo {

namespace {

// What a file named before is not: the index of the file it names again.
constexpr std::size_t NoFile = SIZE_MAX;

struct TextureFile {
    std::vector<uint8_t> bytes;
    std::size_t sameAs = NoFile; // the first file of the same name
    TextureProblem problem = TextureProblem::None;
    int64_t pixels = 0; // as the header announced
    std::promise<std::optional<DecodedImage>> decoded;
};

TextureProblem problemOf(FileErrorKind kind) {
    switch (kind) {
    case FileErrorKind::TooLarge:
        return TextureProblem::OverBudget;
    case FileErrorKind::ReadFailed:
        return TextureProblem::Damaged;
    default: // cannot be opened, or no regular file
        return TextureProblem::NotFound;
    }
}

// Reads and measures every file; what is not admitted is told by its problem. A file named
// again is measured as it was the first time and not read again; the budget, which only
// shrinks, takes it whole once more or refuses it.
void admit(std::span<const std::string> files, std::vector<TextureFile>& out) {
    int64_t used = 0;
    for (std::size_t i = 0; i < files.size(); ++i) {
        TextureFile& file = out[i];
        const auto first = static_cast<std::size_t>(
            std::find(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(i), files[i]) -
            files.begin());
        if (first < i) {
            file.sameAs = first;
            file.problem = out[first].problem;
            if (file.problem == TextureProblem::None && used + out[first].pixels > MapPixelBudget) {
                file.problem = TextureProblem::OverBudget;
            }
            if (file.problem == TextureProblem::None) {
                used += out[first].pixels;
                file.pixels = out[first].pixels;
            }
            continue;
        }
        FileResult<std::vector<uint8_t>> bytes = readWholeFile(files[i], ImageFileLimit);
        if (!bytes) {
            file.problem = problemOf(bytes.error().kind);
            continue;
        }
        ImageHeader header = probeImage(*bytes);
        int64_t pixels = int64_t{header.width} * header.height;
        file.problem = header.problem;
        if (file.problem == TextureProblem::None && used + pixels > MapPixelBudget) {
            file.problem = TextureProblem::OverBudget;
        }
        if (file.problem == TextureProblem::None) {
            used += pixels;
            file.pixels = pixels;
            file.bytes = std::move(*bytes);
        }
    }
}

// Decoding is pure work on bytes: any thread may do it.
std::optional<DecodedImage> decodeAdmitted(TextureFile& file) {
    try {
        std::optional<DecodedImage> image = decodeImage(file.bytes);
        file.bytes = {};
        // A reader may read more than its header announced (a GIF's screen beyond its frame).
        if (image && int64_t{image->width} * image->height > file.pixels) {
            return std::nullopt;
        }
        return image;
    } catch (...) { // out of memory: the file is left out, the map still loads
        return std::nullopt;
    }
}

} // namespace

// The textures of the files that name `first`'s file again, from its image as uploaded
// (`texture`, nullptr when it did not load): shared where the device can, else uploaded again.
void loadNamedAgain(std::size_t first, const std::vector<TextureFile>& textures,
                    const std::optional<DecodedImage>& image, const Texture* texture,
                    const TextureUpload& upload, const TextureShare& share,
                    std::vector<LoadedTexture>& loaded) {
    for (std::size_t i = first + 1; i < textures.size(); ++i) {
        if (textures[i].sameAs != first || textures[i].problem != TextureProblem::None) {
            continue;
        }
        if (texture != nullptr && share) {
            loaded[i].texture = share(*texture);
        }
        if (texture != nullptr && !loaded[i].texture) {
            loaded[i].texture = upload(*image);
        }
        if (!loaded[i].texture) {
            loaded[i].problem = image ? TextureProblem::OverBudget : TextureProblem::Damaged;
        }
    }
}

std::vector<LoadedTexture> loadTextureSet(std::span<const std::string> files,
                                          const TextureUpload& upload, const TextureShare& share) {
    std::vector<TextureFile> textures(files.size());
    admit(files, textures);
    std::vector<std::size_t> queue;
    std::vector<std::future<std::optional<DecodedImage>>> decoded(textures.size());
    for (std::size_t i = 0; i < textures.size(); ++i) {
        if (textures[i].problem == TextureProblem::None && textures[i].sameAs == NoFile) {
            queue.push_back(i);
            decoded[i] = textures[i].decoded.get_future();
        }
    }

    std::atomic<std::size_t> next{0};
    PixelsInFlight inFlight;
    auto work = [&] {
        for (std::size_t at = next++; at < queue.size(); at = next++) {
            TextureFile& file = textures[queue[at]];
            inFlight.enter(at, file.pixels);
            file.decoded.set_value(decodeAdmitted(file));
        }
    };
    std::size_t threads =
        std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), queue.size());
    std::vector<std::jthread> workers;
    try {
        for (std::size_t t = 0; t < threads; ++t) {
            workers.emplace_back(work);
        }
    } catch (const std::system_error&) { // no thread to be had: the ones started do it all
    }
    const std::unique_ptr<PixelsInFlight, void (*)(PixelsInFlight*)> openOnExit(
        &inFlight, [](PixelsInFlight* gate) { gate->open(); }); // before the threads are joined

    // Uploads in file order, each as soon as it is decoded, while the rest still decode.
    std::vector<LoadedTexture> loaded(files.size());
    for (std::size_t i = 0; i < textures.size(); ++i) {
        if (textures[i].sameAs != NoFile && textures[i].problem == TextureProblem::None) {
            continue; // loaded with the file it names again
        }
        loaded[i].problem = textures[i].problem;
        if (textures[i].problem != TextureProblem::None) {
            continue;
        }
        if (workers.empty()) { // no thread: each file is decoded just before its upload
            textures[i].decoded.set_value(decodeAdmitted(textures[i]));
        }
        bool whole = false;
        { // the decoded pixels are gone before the next file may take their place
            const std::optional<DecodedImage> image = decoded[i].get();
            whole = image.has_value();
            if (whole) {
                loaded[i].texture = upload(*image);
            }
            loadNamedAgain(i, textures, image, loaded[i].texture.get(), upload, share, loaded);
        }
        inFlight.leave(textures[i].pixels);
        if (!loaded[i].texture) {
            loaded[i].problem = whole ? TextureProblem::OverBudget : TextureProblem::Damaged;
        }
    }
    return loaded;
}

std::vector<LoadedTexture> Device::loadTextures(std::span<const std::string> files) {
    return loadTextureSet(
        files, [this](const DecodedImage& image) { return uploadTexture(image); },
        [this](const Texture& texture) { return shareTexture(texture); });
}

} // namespace tavo
