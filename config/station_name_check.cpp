#include "station_name_check.h"

#include "config_messages.h"
#include "resource_ids.h"

void DDV_StationNameFree(CDataExchange* exchange, const SystemConfig* model, int stationIndex,
                         const std::string& name) {
    // Two stations of one name cannot be told apart by the administrator,
    // nor by the driver's list of launched stations.
    if (exchange->Failed() || !exchange->m_bSaveAndValidate || !model) return;
    if (!model->NameTakenByAnother(stationIndex, name)) return;
    ShowAppMessageId(IDS_STATION_NAME_TAKEN, MB_OK | MB_ICONEXCLAMATION);
    exchange->Fail();
}
