#pragma once

// Rules for a controller's identifier as the object dialog edits it. The
// identifier field cannot show more than Maximum, and an identifier of 0 or
// less marks an object that has none yet.
namespace ObjectIdentifier {

constexpr int Maximum = 999999999;

// The identifier to store: the loaded one when it lies above what the field
// can show and the field still shows its clamped value, else the field's.
int effective(int loaded, int shown);

bool isValid(int id);

// Whether the project must be asked for the identifier: always for an object
// that had none, and for an existing one whose identifier changed.
bool needsUniquenessCheck(int loaded, int id);

} // namespace ObjectIdentifier
