// WriteNoteEntity: a row of cs_writenote.

#include "store/records/write_note_entity.h"

#include "store/records/record_fields.h"

namespace examora {

namespace rf = record_fields;

void WriteNoteEntity::initWithDict(const Dict* dict) {
    const Dict& d = rf::orEmpty(dict);
    detailid = rf::integer(d.get("id"));
    subjectid = rf::integer(d.get("isubjectid"));
    notetext = rf::text(d.get("cnotetext"));
    changedate = rf::date(d.get("dchangedate"));
    status = rf::integer(d.get("istatus"));
}

}  // namespace examora
