// The block file through loadBlockFile, as the editor's LOAD BLOCK reads it, with its texture
// names resolved in a map folder of real images and every texture decoded as the device does.

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "common/files/file_read.h"
#include "common/text/cp932.h"
#include "fuzz/check.h"
#include "fuzz/reader_checks.h"
#include "pointeditor/data/block_file.h"
#include "pointeditor/data/texture.h"
#include "pointeditor/view/image/image_decoder.h"
#include "samples/sample_mission.h"
#include "tests/support/image_writers.h"
#include "tests/support/scratch_directory.h"

namespace tavo::fuzz {
namespace {

using testing::jpegOf;
using testing::pngOf;

// The map folder: images in several spellings and folders, one cut short and one empty.
struct MapFolder {
    testing::ScratchDirectory directory;
    std::string mapPath = directory.path() + "/map.bd1";

    MapFolder() {
        for (const char* name : {"wall.bmp", "Floor.PNG", "sub/deep/grass.bmp", "壁.bmp"}) {
            directory.write(name, pngOf(4, 2, 8, PNG_COLOR_TYPE_RGB, {1, 2, 3}));
        }
        directory.write("sub/Deep/tile.jpg", jpegOf(8, 8, {40, 50, 60}, false));
        std::vector<uint8_t> broken = pngOf(4, 4, 8, PNG_COLOR_TYPE_RGB, {1, 2, 3});
        broken.resize(broken.size() / 2);
        directory.write("broken.png", broken);
        directory.write("empty.bmp", "");
    }
};

class ImageTexture : public Texture {};

// Decodes each texture file as the device does, without the device.
class DecodingLoader : public TextureLoader {
public:
    std::vector<std::string> paths;
    std::vector<const Texture*> results; // for each path, what was given; nullptr for nothing

    std::vector<LoadedTexture> loadTextures(std::span<const std::string> files) override {
        FUZZ_REQUIRE(paths.empty()); // one call for the whole map
        std::vector<LoadedTexture> loaded;
        for (const std::string& path : files) {
            FileResult<std::vector<uint8_t>> bytes = readWholeFile(path, ImageFileLimit);
            if (bytes && decodeImage(*bytes).has_value()) {
                loaded.push_back({std::make_unique<ImageTexture>(), TextureProblem::None});
            } else {
                loaded.push_back({nullptr, TextureProblem::Damaged});
            }
            paths.push_back(path);
            results.push_back(loaded.back().texture.get());
        }
        return loaded;
    }
};

std::string lowerAscii(std::string text) {
    std::ranges::transform(text, text.begin(),
                           [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    return text;
}

// The path without empty and "." components; nullopt when it climbs with "..", where the file
// that is found may lie anywhere.
std::optional<std::string> plainPath(const std::string& path) {
    std::string plain;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = std::min(path.find('/', start), path.size());
        std::string component = path.substr(start, end - start);
        if (component == "..") {
            return std::nullopt;
        }
        if (!component.empty() && component != ".") {
            plain += "/" + component;
        }
        start = end + 1;
    }
    return plain;
}

} // namespace

void checkBlockFile(std::span<const uint8_t> bytes) {
    static const MapFolder folder;
    folder.directory.write("map.bd1", bytes);

    // Every slot starts in use and every texture slot full, so that what the load leaves shows.
    auto state = std::make_unique<EditorState>();
    for (BlockRecord& block : state->blocks) {
        block.inUse = 7;
    }
    std::vector<const Texture*> before;
    for (auto& texture : state->textures) {
        texture = std::make_unique<Texture>();
        before.push_back(texture.get());
    }
    DecodingLoader loader;
    state->textureLoader = &loader;
    FUZZ_REQUIRE(loadBlockFile(*state, folder.mapPath));

    // The blocks read are the file's records, byte for byte, in slots 0 .. n - 1, and n keeps
    // within the count, the file and the table; every other slot is empty.
    constexpr std::size_t Header = std::size_t{TextureCount} * TextureNameSize + 2;
    const std::size_t n = recordsLoaded(bytes, Header, BlockRecordSize, MaxBlocks);
    FUZZ_REQUIRE(bytes.size() < Header ||
                 std::memcmp(state->textureNames, bytes.data(), Header - 2) == 0);
    for (std::size_t i = 0; i < MaxBlocks; ++i) {
        if (i >= n) {
            FUZZ_REQUIRE(state->blocks[i].inUse == 0);
            continue;
        }
        const std::vector<uint8_t> record = sample::encodeBlockFile({}, {state->blocks[i]});
        FUZZ_REQUIRE(
            std::equal(record.begin() + Header, record.end(),
                       bytes.begin() + static_cast<std::ptrdiff_t>(Header + i * BlockRecordSize)));
    }
    FUZZ_REQUIRE(std::string(state->blockDir) == folder.directory.path());

    // At most one texture per slot was asked for, each a file that exists under a name the slot
    // spells (ignoring ASCII case), and only slots that got one changed.
    FUZZ_REQUIRE(loader.paths.size() <= TextureCount);
    std::size_t asked = 0;
    for (int slot = 0; slot < TextureCount; ++slot) {
        std::optional<std::string> file = resolveTexturePath(*state, slot);
        const Texture* now = state->textures[static_cast<std::size_t>(slot)].get();
        if (!file) {
            FUZZ_REQUIRE(now == before[static_cast<std::size_t>(slot)]);
            continue;
        }
        FUZZ_REQUIRE(asked < loader.paths.size() && loader.paths[asked] == *file);
        ++asked;
        FUZZ_REQUIRE(file->size() < PATH_MAX);
        std::error_code unreadable;
        FUZZ_REQUIRE(std::filesystem::is_regular_file(*file, unreadable));
        const char* name = state->textureNames[slot];
        auto relative = cp932ToUtf8(std::string_view(name, ::strnlen(name, TextureNameSize)));
        FUZZ_REQUIRE(relative.ok());
        std::replace(relative->begin(), relative->end(), '\\', '/');
        if (std::optional<std::string> plain = plainPath(*relative)) {
            // Found by its UTF-8 name, or by its name in raw CP932 bytes.
            std::string expected = lowerAscii(*plainPath(folder.directory.path()) + *plain);
            const auto raw = cp932ToUtf8(*plainPath(*file));
            FUZZ_REQUIRE(lowerAscii(*plainPath(*file)) == expected ||
                         (raw && lowerAscii(*raw) == expected));
        }
        const Texture* given = loader.results[asked - 1];
        FUZZ_REQUIRE(now == (given != nullptr ? given : before[static_cast<std::size_t>(slot)]));
    }
    FUZZ_REQUIRE(asked == loader.paths.size());
}

} // namespace tavo::fuzz
