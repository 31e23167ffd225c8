#include "protocol/exchange.h"

#include <algorithm>

int expectedAnswers(const Exchange &exchange)
{
    return int(std::count_if(
        exchange.cbegin(), exchange.cend(), [](const ExchangeStep &step) { return step.counted; }));
}
