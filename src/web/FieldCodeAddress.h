// The coder of address header fields (From, To, Cc, Reply-To and their kin).
#pragma once

#include "web/FieldCodeBase.h"

class CFieldCodeAddress : public CFieldCodeBase {
public:
    // Addresses are separated by "," and groups end their name with ":".
    bool IsDelimiter(char c) const override;
};
