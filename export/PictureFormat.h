#pragma once
// The picture formats the exports write.

namespace qm {

enum class TPictureFormat { Bmp, Jpeg, Png };

} // namespace qm
