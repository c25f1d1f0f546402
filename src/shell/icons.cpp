// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/icons.h"

#include <QFileInfo>
#include <QIcon>

#include "platform/paths.h"

const std::array<IconSpec, 6> kTreeIcons = {{
    {"imgIcon_Tree_Rig", "computer"},
    {"imgIcon_Tree_Folder01", "folder"},
    {"imgIcon_Tree_Note01", "text-x-generic"},
    {"imgIcon_Tree_Note02", "preferences-system"},
    {"imgIcon_Tree_WarnW_RB", "dialog-warning"},
    {"imgIcon_Tree_WarnE_RB", "dialog-error"},
}};

const std::array<IconSpec, 19> kBarIcons = {{
    {"imgIcon_Bar_File_New", "document-new"},
    {"imgIcon_Bar_File_Open", "document-open"},
    {"imgIcon_Bar_File_Save", "document-save"},
    {"imgIcon_Bar_Com1", ""},
    {"imgIcon_Bar_Com2", ""},
    {"imgIcon_Bar_Com3", ""},
    {"imgIcon_Bar_Com4", ""},
    {"imgIcon_Bar_Clone_Read", "go-down"},
    {"imgIcon_Bar_Clone_Write", "go-up"},
    {"imgIcon_Bar_Clone_Info", "dialog-information"},
    {"imgIcon_Bar_Pcg_Pen", "document-edit"},
    {"imgIcon_Bar_Pcg_Fill", "format-fill-color"},
    {"imgIcon_Bar_Pcg_Slider", "configure"},
    {"imgIcon_Bar_Page_Top", "go-top"},
    {"imgIcon_Bar_Page_Previous", "go-previous"},
    {"imgIcon_Bar_Page_Next", "go-next"},
    {"imgIcon_Bar_Page_Last", "go-bottom"},
    {"imgIcon_Bar_Page_Zoom", "zoom-in"},
    {"imgIcon_Bar_Find_Radio", "edit-find"},
}};

namespace {
constexpr int kIconSide = 32;
}

std::string IconFolder() { return platform::DataDir() + "icons/"; }

QPixmap LoadIcon(const IconSpec& spec, const std::string& folder) {
  const QString file =
      QString::fromStdString(folder) + QLatin1String(spec.name) + QStringLiteral(".png");
  QPixmap image;
  if (QFileInfo::exists(file) && image.load(file) && !image.isNull()) return image;
  if (spec.themeName[0] != '\0') {
    const QIcon themed = QIcon::fromTheme(QLatin1String(spec.themeName));
    if (!themed.isNull()) {
      image = themed.pixmap(kIconSide, kIconSide);
      if (!image.isNull()) return image;
    }
  }
  image = QPixmap(kIconSide, kIconSide);
  image.fill(Qt::transparent);
  return image;
}

void FillImageList(cuiImageList& list, const IconSpec* first, std::size_t count,
                   const std::string& folder) {
  for (std::size_t i = 0; i < count; ++i) list.Add(LoadIcon(first[i], folder));
}
