// The quick setup bindings seen from an editor: which parameter a keypad slot shows, and which slot
// shows a parameter, read from a parameter set or from a drive.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quendrel {

class FirmwareInformationTemplate;
class GIOContext;
class KVBFile;

// A pointer value read as menu, point and two-digit parameter (12.05 names M12P05) gives that number;
// 0 means the slot is not set. Nothing else names a parameter: a pointer outside 0..2099 (25.50, -1.01)
// counts as no binding at all.

// The parameter a pointer value names, formatted "00.00" with the point removed (7.03 gives 703, never
// a truncated 702); 0 for an unset pointer. Nothing when it names no parameter 0..2099.
std::optional<std::int32_t> PointerTarget(double pointerValue);

// The parameter slot pram shows according to the set's pointer: 0 for an unset slot, pram itself when
// pram is no slot, the set's version has no template or the pointer names no parameter.
std::int32_t GetBoundParameter(const KVBFile& file, std::int32_t pram);

// The first slot whose pointer names p; p itself when none does. Unset slots are never found, so an
// edit of M00P00 does not land on the first unset slot instead.
std::int32_t GetBindingSlotParameter(const KVBFile& file, std::int32_t p);

// A slot gives the parameter it shows, a shown parameter its slot, anything else itself.
std::int32_t ResolveBoundParameter(const KVBFile& file, std::int32_t pram);

// The guarded forms an editor shows and mirrors with: a slot that is unset (0 would be M00P00) or names a
// parameter the set lacks shows only itself, as the drive answers such a slot from its own row.
std::int32_t GetPresentBoundParameter(const KVBFile& file, std::int32_t pram);
std::int32_t ResolvePresentBoundParameter(const KVBFile& file, std::int32_t pram);
// Whether the parameter pram's row shows is read-only: a slot's edit lands on its target, so the slot
// takes edits only when the target does.
bool ShowsReadOnly(const KVBFile& file, std::int32_t pram);

// The entries that hold the value an edit of pram's row sets: the parameter the row shows and every
// slot showing that parameter, pram first. They are one value on a drive, so the set keeps them equal:
// a stale copy in one slot would be what a download writes if that slot went last.
std::vector<std::int32_t> SharedValueEntries(const KVBFile& file, std::int32_t pram);
// Stores text into each of SharedValueEntries(file, pram) and gives them.
std::vector<std::int32_t> StoreSharedValue(KVBFile& file, std::int32_t pram, const std::string& text);

// The quick setup slots of the set's template, whatever their pointers say; none without a template.
std::vector<std::int32_t> BindingSlots(const KVBFile& file);
// The parameter that holds a slot's pointer in the set's template; nothing for a parameter that is no
// slot there, or without a template.
std::optional<std::int32_t> SlotPointerParameter(const KVBFile& file, std::int32_t slot);
// The template the set's software version names, whose bindings the functions above follow.
std::shared_ptr<const FirmwareInformationTemplate> BindingTemplate(const KVBFile& file);

// GetBoundParameter against the drive's own pointer and version. Without a context it opens one to
// the drive at address 1 on the program's registry and closes it again; a failed read gives the
// parameter unchanged.
std::int32_t GetDriveBoundParameter(std::int32_t parameter, GIOContext* ctx);

}  // namespace quendrel
