// The coder of free-text header fields (Subject, Comments, Content-Description).
#pragma once

#include "web/FieldCodeBase.h"

class CFieldCodeText : public CFieldCodeBase {
public:
    // Runs of free text are cut at 255 bytes.
    qsizetype GetLimit() const override;
};
