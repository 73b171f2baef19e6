#pragma once

// The catalogue procedures of item actions written in C++. The insert, because it takes a new
// identity from one insert into the next and refuses bad input with a message of its own:
//   usp_Evd_Insert_Item_Action (@Item_ID, @Case_ID, @Batch_ID, @Performed_By_Employee_ID,
//     @Item_Action_Type_ID, @Item_Action_Date_Time, @Item_Action_Description, @Location_ID,
//     @Item_Action_Key):
//     inserts one item action for exactly one subject (the one of the three identities given);
//     when @Location_ID is above 0 and the type keeps its details in Item_Locations, also the
//     item location of that action, in the same transaction. A performer of 0 or less (a bulk run
//     before any employee code) attributes custody to nobody and is refused; nothing is inserted.
//     @Item_Action_Key is the caller's key of this action (core/WriteOnce.h): when an action with
//     that key is stored already, nothing is inserted and its identity is the answer, so a call
//     repeated after a lost answer never writes the action twice.
//     One row, column "Item_Action_ID": the new (or already stored) action's identity.
// The two drop-downs, because their texts carry a date in the general date form, which neither
// engine writes:
//   usp_Evd_DropDown_Item_Actions_Locations, usp_Evd_DropDown_Item_Actions_Transfers (no
//     parameters): the item actions whose type keeps its details in Item_Locations (Item_Transfers),
//     newest first; columns "Item_Action_ID" and "Item_Action", "<subject> - <past-tense type>
//     <date and time>", the date as every date field shows it ("03/05/2024 2:07:00 PM").
// Registered by RegisterItemActionWindows; calling it again is harmless.
void RegisterItemActionProcedures();
