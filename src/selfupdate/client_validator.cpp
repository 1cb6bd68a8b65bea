#include "selfupdate/client_validator.h"

// The self-update dialog (resource 172) and its worker are not built yet;
// without them no check runs and the outcome stays as it is (0: go on).
void CClientValidator::RunModal() {}
