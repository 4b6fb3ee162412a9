#pragma once

// What kind of record the loader takes a keyword's record for: the kind every record it read
// carries, and what a reader of those records (the editor's hover) tells them apart by.

#include "model/source_record.h"
#include "source_text/keywords.h"

namespace railscen {

// The general records: the three progressive and three background records each share a kind.
RecordKind record_kind(GeneralRecord kind);
RecordKind record_kind(ObjectRecord kind);
RecordKind record_kind(TrainRecord kind);

}  // namespace railscen
