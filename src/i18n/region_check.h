// The region check: whether the user's country (the GeoID in
// HKCU\Control Panel\International\Geo, "Nation") is one where the licence
// must be accepted explicitly: Japan, Canada and the member states of the
// European Union, the United Kingdom included. There the licence box starts
// unticked.
#pragma once

bool IsExplicitAcceptanceRegion();
