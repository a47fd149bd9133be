#pragma once

// What every save routine tells its caller (the save button, the Yes of the
// close question): the input was stored, or a check refused it, its message
// shown and the focus on the field to mend. A database failure is no result:
// it throws.
enum class SaveResult { Stored, Refused };

// The result of a step that tells stored or refused as true or false (a data
// set's post).
inline SaveResult storedIf(bool stored) { return stored ? SaveResult::Stored : SaveResult::Refused; }
