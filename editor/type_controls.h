#pragma once

// The type dialogs show type flag i on control kFirstTypeControl + i.
inline constexpr int kFirstTypeControl = 101;
