// SPDX-License-Identifier: GPL-3.0-or-later
#include <iostream>

#include "command_line.h"
#include "core/cloud/curl_library.h"

using namespace songloader::cli;

int main(int argc, char** argv) {
    const songloader::CurlLibrary curl;
    CommandSet commands;
    for (auto add :
         {AddDevicesCommand, AddListCommand, AddExportCommand, AddAddCommand, AddImportCommand, AddReviseCommand,
          AddDeleteCommand, AddRebuildCommand, AddVerifyCommand, AddSearchCommand, AddPrintCommand, AddCloudSyncCommand,
          AddFetchCommand, AddMidiCommand, AddEjectCommand, AddPublishCommand, AddConfigCommand}) {
        add(commands);
    }
    Console console{std::cout, std::cerr};
    return commands.Run(argc, argv, console);
}
