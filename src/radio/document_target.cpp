// SPDX-License-Identifier: GPL-3.0-or-later
#include "radio/document_target.h"

cmcDocumentTarget::cmcDocumentTarget(cmcDocument& document) : document_(document) {}

cmcDocumentTarget::~cmcDocumentTarget() = default;
