#include "common/SampleTable.h"

#include "chartable/CharTable.h"

QImage SampleTable::make()
{
    QImage table = CharTable::blank();
    for (int y = 0; y < CharTable::Size; y += 3)
        for (int x = y % 7; x < CharTable::Size; x += 5)
            table.setPixel(x, y, CharTable::SetColour);
    table.setPixel(1, 1, qRgb(10, 200, 30));
    table.setPixel(2, 1, qRgb(0, 0, 1));
    return table;
}
