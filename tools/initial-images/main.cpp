// SPDX-License-Identifier: GPL-3.0-or-later
// seaclone-make-initial: writes the thirteen initial clone data files, one
// per model type, from the tables in tools/initial-images/tables.
//
//   seaclone-make-initial [--tables DIR] [--out DIR]
//
// Without options it reads the tables of the source tree and writes into
// data/initial of the source tree.

#include <cstdio>
#include <cstring>
#include <string>

#include "image_builder.h"
#include "model/clone_file.h"
#include "model/memory_map.h"
#include "tables.h"

int main(int argc, char** argv) {
  std::string tables = INITIAL_TABLES_DIR;
  std::string out = INITIAL_OUT_DIR;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--tables") == 0 && hasValue) {
      tables = argv[++i];
    } else if (std::strcmp(argv[i], "--out") == 0 && hasValue) {
      out = argv[++i];
    } else {
      std::fprintf(stderr, "usage: seaclone-make-initial [--tables DIR] [--out DIR]\n");
      return 64;
    }
  }

  initial::Tables t;
  try {
    t = initial::ReadTables(tables);
  } catch (const initial::TableError& e) {
    std::fprintf(stderr, "seaclone-make-initial: %s\n", e.what());
    return 1;
  }

  for (const initial::Model& m : t.models) {
    cmcEeprom image = initial::BuildInitialImage(t, m);
    cmcCloneFile file;
    file.SetShowMessages(false);
    SetUpRadioFile(file, &image);
    file.SetComment(cmcCloneFile::CommentFromImage(image));
    const std::string path = out + "/" + m.file;
    if (const int code = static_cast<int>(file.Write(path, cmcCloneFile::StandardRanges()));
        code != 0) {
      std::fprintf(stderr, "seaclone-make-initial: %s: write failed (code %d)\n", path.c_str(),
                   code);
      return 2;
    }
  }
  std::printf("%zu initial clone data files written to %s\n", t.models.size(), out.c_str());
  return 0;
}
