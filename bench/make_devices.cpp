// SPDX-License-Identifier: GPL-3.0-or-later
// Makes the devices and the cloud that bench/run measures, under the folder given:
//   cloud/      MgList.dat and Msong.db of 65,535 cloud songs, 21,000 of them matching "love"
//   big/        a 49,999-song device holding the first 49,999 cloud songs, newest first (as songs
//               added one by one stand), and the catalogue
//   list/       a 65,535-song device
//   three/      a 3-song device
//   verify/     a 20,000-song device, each song with its media file
// With --serve ROOT instead, serves ROOT on 127.0.0.1, prints the base URL and waits to be ended.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "core/device/device_layout.h"
#include "support/cloud_catalogue_fixture.h"
#include "support/list_file_bytes.h"
#include "support/temp_dir.h"
#include "support/test_cloud_server.h"

using namespace songloader;

namespace {

constexpr int kCloudSongs = 65535;
constexpr int kFirstNumber = 100000;
constexpr int kLoveSongs = 21000;

std::string Title(int i) {
    // Accented letters make every list line go through the code-page conversion.
    return (i < kLoveSongs ? "Love song " : "Canci\xF3n ") + std::to_string(i);
}

std::vector<test::ListEntry> Entries(int count) {
    std::vector<test::ListEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        entries.push_back({static_cast<std::uint32_t>(kFirstNumber + i), static_cast<std::uint8_t>(i % 3), Title(i),
                           "Artist " + std::to_string(i % 997), "Composer", "Lyricist"});
    }
    return entries;
}

void WriteDevice(const std::filesystem::path& root, int count, bool newestFirst = false) {
    std::vector<test::ListEntry> entries = Entries(count);
    if (newestFirst) std::reverse(entries.begin(), entries.end());
    std::filesystem::create_directories(root / "songs");
    test::WriteBytes(root / "songs" / "SgList.dat", test::MakeListFileBytes(entries));
}

int Serve(const std::filesystem::path& root) {
    test::TestCloudServer server(root);
    std::cout << server.baseUrl() << std::endl;
    while (true) pause();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--serve") == 0) return Serve(argv[2]);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_make_devices OUT | --serve ROOT\n");
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out / "cloud");
    test::WriteBytes(out / "cloud" / "MgList.dat", test::MakeListFileBytes(Entries(kCloudSongs)));
    std::vector<test::CatalogueSong> catalogue;
    for (int i = 0; i < kCloudSongs; ++i) {
        catalogue.push_back({kFirstNumber + i, i % 3, Title(i), "Artist " + std::to_string(i % 997)});
    }
    test::WriteCloudCatalogue(out / "cloud" / "Msong.db", catalogue);

    WriteDevice(out / "big", 49999, true);
    std::filesystem::copy_file(out / "cloud" / "Msong.db", out / "big" / "songs" / "Msong.db",
                               std::filesystem::copy_options::overwrite_existing);
    WriteDevice(out / "list", kCloudSongs);
    WriteDevice(out / "three", 3);
    WriteDevice(out / "verify", 20000);
    for (int i = 0; i < 20000; ++i) {
        const std::string number = std::to_string(kFirstNumber + i);
        test::WriteBytes(MediaTargetPath(out / "verify" / "songs", number, "song.mp4"), std::string("media"));
    }
    return 0;
}
