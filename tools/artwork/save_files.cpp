// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <cstdio>

#include "artwork_tool.h"

namespace artwork {

namespace {

bool MakeParent(const std::filesystem::path& file) {
    std::error_code error;
    std::filesystem::create_directories(file.parent_path(), error);
    if (!error) return true;
    std::fprintf(stderr, "cannot create %s: %s\n", file.parent_path().c_str(), error.message().c_str());
    return false;
}

}  // namespace

bool SavePng(const QImage& image, const std::filesystem::path& file) {
    if (!MakeParent(file)) return false;
    if (image.save(QString::fromStdString(file.string()), "PNG")) return true;
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return false;
}

bool SaveText(const QString& text, const std::filesystem::path& file) {
    if (!MakeParent(file)) return false;
    QFile out(QString::fromStdString(file.string()));
    if (out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(text.toUtf8()) >= 0) return true;
    std::fprintf(stderr, "cannot write %s\n", file.c_str());
    return false;
}

}  // namespace artwork
