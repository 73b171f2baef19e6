-- A custody record is written once. Each item action, transfer and item location the program
-- writes carries a key the client made for it; when the answer to a commit is lost (the server
-- stopped, the network broke), the program looks the key up on a new connection to learn whether
-- the record was stored, and a second attempt with the same key finds the first one instead of
-- writing the record again. Rows written before, or by hand, have no key.
ALTER TABLE Item_Actions ADD COLUMN Item_Action_Key {TEXT} CHECK (length(Item_Action_Key) <= 40);
ALTER TABLE Item_Transfers ADD COLUMN Item_Transfer_Key {TEXT} CHECK (length(Item_Transfer_Key) <= 40);
ALTER TABLE Item_Locations ADD COLUMN Item_Location_Key {TEXT} CHECK (length(Item_Location_Key) <= 40);

CREATE UNIQUE INDEX Item_Actions_Key ON Item_Actions (Item_Action_Key);
CREATE UNIQUE INDEX Item_Transfers_Key ON Item_Transfers (Item_Transfer_Key);
CREATE UNIQUE INDEX Item_Locations_Key ON Item_Locations (Item_Location_Key);
