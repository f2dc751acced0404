// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <filesystem>

// One function per artwork family; each writes its files below the given res/ folder and
// returns false (after saying why on standard error) when a file cannot be written.
namespace artwork {

bool DrawButtons(const std::filesystem::path& resDir);     // res/buttons/<png id>.png
bool DrawIcon(const std::filesystem::path& resDir);        // res/icons/songloader.svg + -48/-128/-256.png
bool DrawBackground(const std::filesystem::path& resDir);  // res/background.png

// Shared by the families: creates the folder, writes the PNG or text, reports a failure.
bool SavePng(const QImage& image, const std::filesystem::path& file);
bool SaveText(const QString& text, const std::filesystem::path& file);

}  // namespace artwork
