#include "radio/document_target.h"

cmcDocumentTarget::cmcDocumentTarget(cmcDocument& document) : document_(document) {}

cmcDocumentTarget::~cmcDocumentTarget() = default;
