// form/IconLayout.h: where the program icon sits when the minimised form paints it.
#pragma once

// The offset that centres an icon in a client area along one axis. Signed and truncating toward
// zero, so an icon larger than the area starts before it and is drawn partly outside.
inline int CenteredIconOffset(int clientExtent, int iconExtent)
{
    return (clientExtent - iconExtent + 1) / 2;
}
