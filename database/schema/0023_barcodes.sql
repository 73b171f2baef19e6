-- The barcode window and its bulk item action, and what the item reports read: every action that
-- concerns an item, whether taken on the item itself, on its case, or on a batch that holds the
-- item or its case.

INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBarcodes', 'Barcodes');
INSERT INTO DB_App_Forms (DB_App_Form_Name, DB_App_Form_Caption) VALUES ('frmBarcodeItemAction', 'Item Action');

CREATE VIEW vw_Evd_Item_Action_Subjects AS
SELECT i.Item_ID AS Item_ID, a.Item_Action_ID AS Item_Action_ID
FROM Items i
JOIN Item_Actions a ON a.Item_ID = i.Item_ID
UNION
SELECT i.Item_ID, a.Item_Action_ID
FROM Items i
JOIN Item_Actions a ON a.Case_ID = i.Case_ID
UNION
SELECT i.Item_ID, a.Item_Action_ID
FROM Items i
JOIN Batch_Items bi ON bi.Item_ID = i.Item_ID OR bi.Case_ID = i.Case_ID
JOIN Item_Actions a ON a.Batch_ID = bi.Batch_ID;
