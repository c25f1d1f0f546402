// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/startup.h"

int main(int argc, char** argv) { return shell::Main(argc, argv); }
