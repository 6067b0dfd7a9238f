#include "handlers.h"
#include "text.h"

namespace zpv::sim {

namespace {

FileStore& Store(Call& call) { return call.state.Files(static_cast<Mode>(call.row.arg)); }

void Check(Call& call, bool done) {
    if (!done) call.Fail(kIllegalParameterValue);
}

}  // namespace

void FileCopy(Call& call) { Check(call, Store(call).Copy(call.Param(0).text, call.Param(1).text)); }

void FileAdd(Call& call) { Check(call, Store(call).Add(call.Param(0).text)); }

void FileEdit(Call& call) {
    if (call.IsQuery()) return call.Answer(Store(call).Edited().name);
    Check(call, Store(call).Edit(call.Param(0).text));
}

void FileLoad(Call& call) {
    if (call.IsQuery()) return call.Answer(Store(call).Loaded().name);
    Check(call, Store(call).Load(call.Param(0).text));
}

void FileDelete(Call& call) { Check(call, Store(call).Delete(call.Param(0).text)); }

void FileNames(Call& call) {
    call.Answer(Join(Store(call).Files(), ',', [](const StoredFile& file) { return file.name; }));
}

void FileTotal(Call& call) { call.Answer(std::to_string(Store(call).Files().size())); }

// The index selects the file being edited by its place in the name list.
void FileIndex(Call& call) {
    if (call.IsQuery()) return call.Answer(std::to_string(Store(call).EditedPosition()));
    if (auto position = call.RealParam(0, 1, FileStore::kCapacity)) Check(call, Store(call).EditAt(*position));
}

}  // namespace zpv::sim
