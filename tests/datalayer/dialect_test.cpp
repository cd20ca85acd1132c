#include "datalayer/dberror.h"
#include "datalayer/dialect.h"
#include "datalayer/schema.h"

#include <QString>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <sqlite3.h>
#include <vector>

namespace {

// One statement as a screen composes it, and the SQLite text it must become.
struct StatementCase {
    std::string name;
    QString sql;
    QString expected;
};

void PrintTo(const StatementCase &c, std::ostream *os)
{
    *os << c.name << ": " << c.sql.toStdString();
}

StatementCase same(const char *name, const QString &sql)
{
    return {name, sql, sql};
}

StatementCase to(const char *name, const QString &sql, const QString &expected)
{
    return {name, sql, expected};
}

QString q(const char *value)
{
    return QuotedStr(QString::fromUtf8(value));
}

// Column lists the screens select with.
const QString kBlendColumns = "ID,编号,毛净茶,品种,净茶价,总金额,总重量,剩余重量,销售单价,入库日期,经办人,供应商,配茶,配茶详细,配茶师";
const QString kSaleColumns = "ID,编号,品种,产地,毛净茶,剩余重量,销售单价,包装,入库日期,经办人,备注";
const QString kReturnLotColumns = "ID,编号,毛净茶,品种,供应商,毛茶价,总重量,总金额,剩余重量,入库日期,经办人,配茶";

// Every shape of statement the program composes, with realistic values.
std::vector<StatementCase> programStatements()
{
    const QString supplier = q("O'Brien茶行");
    const QString remark = q("备注：\r\n第一批 #1 true，delete * from 旧货");
    return {
        // login, users and password change
        same("UsersNewestFirst", "Select 用户名 From 用户管理 Order By Id Desc"),
        same("UserNames", "select 用户名 from 用户管理"),
        same("OneUser", "select * from 用户管理 where 用户名 =" + q("admin")),
        same("UsersList", "Select * From 用户管理 Order By Id Desc"),
        same("UserInsert", "insert into 用户管理(用户名,密码,权限,备注) values(" + q("O'Neil") + ",'8F3A2B0C','普通用户',"
                               + q("晚班\r\n周末") + ")"),
        to("UserUpdate", "UPDATE 用户管理 SET 密码 = '8F3A2B0C',权限='高级用户' WHERE 用户名 = " + q("O'Neil"),
           "UPDATE 用户管理 SET 密码 = '8F3A2B0C',权限='高级用户' WHERE 用户名 = 'O''Neil'"),
        same("PasswordChange", "UPDATE 用户管理 SET 密码 = 'AB12CD' WHERE 用户名 = " + q("张三")),
        same("UserDelete", "DELETE FROM 用户管理 WHERE 用户名 = " + q("张三")),

        // reference lists
        same("Packagings", "select 包装 from 包装管理"),
        same("Varieties", "select 品种 from 品种管理"),
        same("Origins", "select 产地 from 产地管理"),
        same("SupplierNamesNoBlanks", "select 名称 from 通讯管理 where 类型='供应商'"),
        same("VarietyInsert", "insert into 品种管理(品种) values(" + q("铁观音") + ")"),
        same("VarietyDelete", "DELETE FROM 品种管理 WHERE 品种 = " + q("铁观音")),
        same("OriginInsert", "insert into 产地管理(产地) values(" + q("安溪") + ")"),
        same("OriginDelete", "DELETE FROM 产地管理 WHERE 产地 = " + q("安溪")),
        same("PackagingInsert", "insert into 包装管理(包装) values(" + q("散装") + ")"),
        same("PackagingDelete", "DELETE FROM 包装管理 WHERE 包装 = " + q("散装")),

        // stock intake
        same("StockNewestFirst", "Select * From 库存管理 Order By ID DESC"),
        to("StockInsert",
           "insert into 库存管理(编号,品种,产地,供应商,毛茶价,总重量,剩余重量,总金额,包装,入库日期,经办人,实付款,备注,毛净茶)values("
               + q("T0426013") + "," + q("铁观音") + "," + q("安溪") + "," + supplier + ",30.5,12.5,12.5,381.25," + q("散装")
               + ",'2009-04-26'," + q("admin") + ",381.25," + remark + "," + q("毛茶") + ")",
           "insert into 库存管理(编号,品种,产地,供应商,毛茶价,总重量,剩余重量,总金额,包装,入库日期,经办人,实付款,备注,毛净茶)values("
           "'T0426013','铁观音','安溪','O''Brien茶行',30.5,12.5,12.5,381.25,'散装','2009-04-26','admin',381.25,"
           "'备注：\r\n第一批 #1 true，delete * from 旧货','毛茶')"),
        same("StockUpdate", "UPDATE 库存管理 SET 编号=" + q("T0426013") + ",品种=" + q("铁观音") + ",产地=" + q("安溪")
                                + ",供应商=" + supplier + ",毛茶价=30.5,总重量=12.5,剩余重量=12.5,总金额=381.25,包装="
                                + q("散装") + ",入库日期='2009-04-26',经办人=" + q("admin") + ",实付款=380,备注=" + remark
                                + ",毛净茶=" + q("毛茶") + " WHERE ID = 7"),
        same("StockDelete", "DELETE FROM 库存管理 WHERE ID = 7"),
        same("StockFilterText", "Select * From 库存管理 where " + QString(" 编号=") + q("T0426013") + " Order By ID DESC"),
        to("StockFilterDate", "Select * From 库存管理 where " + QString(" 入库日期=#2009-4-26#") + " Order By ID DESC",
           "Select * From 库存管理 where  入库日期='2009-04-26' Order By ID DESC"),

        // inventory
        same("StockTwoBlanks", "Select * From 库存管理  Order By ID DESC"),
        to("BlendsNewestFirst", "Select " + kBlendColumns + " From 库存管理  where 配茶 = true Order By ID DESC",
           "Select " + kBlendColumns + " From 库存管理  where 配茶 = 1 Order By ID DESC"),
        same("InventoryUpdate", "UPDATE 库存管理 SET 剩余重量 = 10.2,净茶价 = 45.6,销售单价 = 88 WHERE ID = 12"),
        same("SoldOut", "Select * From 库存管理 where 剩余重量 = 0 Order By ID DESC"),
        same("NotSoldOut", "Select * From 库存管理 where 剩余重量 > 0 Order By ID DESC"),
        to("InventoryFilterDate", "Select * From 库存管理 where  入库日期= #2009-04-26# Order By ID DESC",
           "Select * From 库存管理 where  入库日期= '2009-04-26' Order By ID DESC"),

        // blending
        to("BlendInsert",
           "insert into 库存管理(编号,毛净茶,品种,净茶价,总金额,总重量,剩余重量,销售单价,入库日期,经办人,配茶详细,包装,产地,配茶师,配茶)values("
               + q("T0512046") + "," + q("净茶") + "," + q("铁观音") + ",45.6,3.5,159.6,3.5,88,'2009-05-12'," + q("admin")
               + "," + q("T0426013 2.5 30.5 76.25\r\nX0426010 1 40 40") + ",'散装','安溪'," + q("李师傅") + ",true)",
           "insert into 库存管理(编号,毛净茶,品种,净茶价,总金额,总重量,剩余重量,销售单价,入库日期,经办人,配茶详细,包装,产地,配茶师,配茶)values("
           "'T0512046','净茶','铁观音',45.6,3.5,159.6,3.5,88,'2009-05-12','admin',"
           "'T0426013 2.5 30.5 76.25\r\nX0426010 1 40 40','散装','安溪','李师傅',1)"),
        same("BlendUpdateQuotedNumbers",
             "UPDATE 库存管理 SET 编号=" + q("T0512046") + ",毛净茶=" + q("净茶") + ",品种=" + q("铁观音")
                 + ",净茶价='45.6',总金额='159.6',配茶师=" + q("李师傅")
                 + ",总重量='3.5',销售单价='88',入库日期='2009-05-12' WHERE ID = 20"),
        to("BlendsOldestFirst", "Select " + kBlendColumns + " From 库存管理 where 配茶 = true Order By ID ASC",
           "Select " + kBlendColumns + " From 库存管理 where 配茶 = 1 Order By ID ASC"),
        to("BlendByNumber", "Select " + kBlendColumns + " From 库存管理 where (配茶 = true) and (编号=" + q("T0512046") + ") Order By ID ASC",
           "Select " + kBlendColumns + " From 库存管理 where (配茶 = 1) and (编号='T0512046') Order By ID ASC"),
        to("BlendByBlender", "Select " + kBlendColumns + " From 库存管理 where (配茶 = true) and (配茶师=" + q("李师傅") + ") Order By ID ASC",
           "Select " + kBlendColumns + " From 库存管理 where (配茶 = 1) and (配茶师='李师傅') Order By ID ASC"),
        to("BlendByDate", "Select " + kBlendColumns + " From 库存管理 where (配茶 = true) and (入库日期= #2009-5-12#) Order By 入库日期 ASC",
           "Select " + kBlendColumns + " From 库存管理 where (配茶 = 1) and (入库日期= '2009-05-12') Order By 入库日期 ASC"),
        same("AllStockOldestFirst", "Select * From 库存管理 Order By ID ASC"),
        same("AllStockByNumberNoOrder", "Select * From 库存管理 where 编号=" + q("T0426013")),
        same("AllStockBySupplier", "Select * From 库存管理 where 供应商=" + supplier + " Order By 供应商 ASC"),
        to("AllStockByDate", "Select * From 库存管理 where 入库日期= #2009-4-26# Order By 入库日期 ASC",
           "Select * From 库存管理 where 入库日期= '2009-04-26' Order By 入库日期 ASC"),

        // front-desk sales
        same("SaleLotsLowerCase", "select " + kSaleColumns + " from 库存管理"),
        same("SaleLotLookup", "Select " + kSaleColumns + " From 库存管理 where 编号=" + q("T0426013") + " Order By ID DESC"),
        same("ContactNames", "select 名称 from 通讯管理"),
        same("ContactType", "Select 名称,类型 From 通讯管理 where 名称 =" + q("王老板")),
        same("SaleInsert", "insert into 销售记录(编号,品种,产地,客户,客户类型,日期,单价,重量,总金额,备注,毛净茶,实收款)values("
                               + q("T0426013") + "," + q("铁观音") + "," + q("安溪") + "," + q("王老板") + ","
                               + q("批发客户") + ",'2009-04-26',88,2.5,220," + q("赊账'一半'\n下周结") + ","
                               + q("毛茶") + ",200)"),
        same("SaleStockUpdate", "UPDATE 库存管理 SET 剩余重量=10 WHERE 编号 = " + q("T0426013")),
        same("SaleLotsNewestFirst", "Select " + kSaleColumns + " From 库存管理 Order By ID DESC"),
        same("SaleLotsByOrigin", "Select " + kSaleColumns + " From 库存管理 where 产地=" + q("安溪") + " Order By ID ASC"),
        to("SaleLotsByDate", "Select " + kSaleColumns + " From 库存管理 where 入库日期=#2009-4-26# Order By ID ASC",
           "Select " + kSaleColumns + " From 库存管理 where 入库日期='2009-04-26' Order By ID ASC"),

        // sales records
        same("SalesAll", "select * from 销售记录"),
        same("CustomerNames", "select 名称 from 通讯管理 where 类型 = '供应商'"),
        same("SaleUpdate", "UPDATE 销售记录 SET 品种=" + q("铁观音") + ",产地=" + q("安溪") + ",客户=" + q("王老板")
                               + ",客户类型=" + q("零售客户") + ",日期='2009-04-26',单价=88,重量=2.5,总金额=220,备注="
                               + q("改价") + ",实收款=220,毛净茶=" + q("净茶") + " WHERE ID = 3"),
        same("SaleDelete", "DELETE FROM 销售记录 WHERE ID = 3"),
        same("SalesOldestFirst", "Select " + QString("*") + " From 销售记录 Order By ID ASC"),
        same("SalesByCustomer", "Select * From 销售记录 where 客户=" + q("王老板") + " Order By 客户 ASC"),
        to("SalesByDateSlashes", "Select * From 销售记录 where 日期=#2009/4/26# Order By 日期 ASC",
           "Select * From 销售记录 where 日期='2009-04-26' Order By 日期 ASC"),

        // returns
        same("ReturnLots", "Select " + kReturnLotColumns + " From 库存管理 Order By ID DESC"),
        same("ReturnsAll", "Select * From 退货管理 Order By ID ASC"),
        same("ReturnOneLot", "Select ID,编号,毛净茶,品种,毛茶价,供应商,净茶价,总金额,总重量,剩余重量,销售单价,入库日期,经办人,配茶 From 库存管理 where 编号="
                                 + q("T0426013") + " Order By ID DESC"),
        same("ReturnInsert", "insert into 退货管理(编号,品种,供应商,毛净茶,退回重量,退回日期,退回金额,经办人,备注)values("
                                 + q("T0426013") + "," + q("铁观音") + "," + supplier + "," + q("毛茶") + ",0.3,'2009-04-27',9.15,"
                                 + q("admin") + "," + q("备注：\n受潮") + ")"),
        same("ReturnStockUpdate", "UPDATE 库存管理 SET 剩余重量 = 10.2 WHERE 编号 = " + q("T0426013")),
        same("ReturnLotByNumber", "Select " + kReturnLotColumns + " From 库存管理 where 编号 =" + q("T0426013") + " Order By ID DESC"),
        same("ReturnDelete", "DELETE FROM 退货管理 WHERE ID = 4"),
        same("ReturnLotsOldestFirst", "Select " + kReturnLotColumns + " From 库存管理 Order By ID ASC"),
        same("ReturnLotsBySupplier", "Select " + kReturnLotColumns + " From 库存管理 where 供应商=" + supplier + " Order By 供应商 ASC"),
        to("ReturnLotsByDate", "Select " + kReturnLotColumns + " From 库存管理 where 入库日期=#2009-4-26# Order By 入库日期 ASC",
           "Select " + kReturnLotColumns + " From 库存管理 where 入库日期='2009-04-26' Order By 入库日期 ASC"),
        same("ReturnsByHandler", "Select * From 退货管理 where 经办人=" + q("admin") + " Order By 经办人 ASC"),
        to("ReturnsByDate", "Select * From 退货管理 where 退回日期=#2009-4-27# Order By 退回日期 ASC",
           "Select * From 退货管理 where 退回日期='2009-04-27' Order By 退回日期 ASC"),

        // debts
        same("DebtContacts", "Select 名称,联系人 From 通讯管理 Order By 名称 DESC"),
        same("DebtSum", "Select 金额,项目 From 欠款管理 where 项目='欠款'"),
        same("RepaymentSum", "Select * From 欠款管理 where 项目='还款'"),
        same("DebtsTrailingBlank", "Select * From 欠款管理 "),
        same("ContactByName", "Select * From 通讯管理 where 名称=" + q("王老板")),
        same("ContactByPerson", "Select * From 通讯管理 where 联系人=" + q("王五")),
        same("DebtInsert", "insert into 欠款管理(客户名称,联系人,项目,金额,日期,备注)" + QString(" values(") + q("王老板") + ","
                               + q("王五") + ",'欠款',500,'2009-04-26'," + q("月底还") + ")"),
        same("DebtUpdate", "UPDATE 欠款管理 SET 客户名称=" + q("王老板") + ",联系人=" + q("王五") + ",项目='还款',金额=200,日期='2009-04-30',备注="
                               + q("") + " WHERE ID = 2"),
        same("DebtDelete", "DELETE FROM 欠款管理 WHERE ID = 2"),
        same("DebtsNewestFirst", "Select * From 欠款管理 Order By ID DESC"),
        same("DebtsOfCustomer", "Select * From 欠款管理 where 项目='欠款' and " + QString(" 客户名称=") + q("王老板") + " Order By ID DESC"),
        same("DebtsOfPerson", "Select * From 欠款管理 where " + QString(" 联系人=") + q("王五") + " Order By ID DESC"),

        // expenses
        same("ExpensesNewestDay", "Select * From 支出管理 Order By 日期 DESC"),
        same("ExpenseInsert", "insert into 支出管理(日期,金额,事项)values('2009-04-26',120.5," + q("事项：\n房租") + ")"),
        same("ExpenseUpdate", "UPDATE 支出管理 SET 日期='2009-04-26',金额=130," + QString("事项=") + q("事项：\n房租+水电") + " WHERE ID = 9"),
        same("ExpenseDelete", "DELETE FROM 支出管理 WHERE ID = 9"),
        to("ExpensesOfDay", "Select * From 支出管理 where 日期 =#2009-4-26# Order By 日期 DESC",
           "Select * From 支出管理 where 日期 ='2009-04-26' Order By 日期 DESC"),

        // statistics and settlement
        to("StatisticsDayExists", "Select 日期  FROM 销售统计 where 日期 = #2009-04-26#",
           "Select 日期  FROM 销售统计 where 日期 = '2009-04-26'"),
        same("DateListOfTable", "Select * FROM " + QString("支出管理") + " Order By 日期 ASC"),
        to("ExpenseDaySum", "Select sum(金额)  FROM 支出管理 where 日期 = #2009-4-26#",
           "Select sum(金额)  FROM 支出管理 where 日期 = '2009-04-26'"),
        to("StatisticsExpenseUpdate", "UPDATE 销售统计 SET 总支出=120.5 WHERE 日期 = #2009-04-26#",
           "UPDATE 销售统计 SET 总支出=120.5 WHERE 日期 = '2009-04-26'"),
        same("StatisticsExpenseInsert", "insert into 销售统计 (日期,总支出) values('2009-04-26',120.5)"),
        to("DebtDaySum", "Select sum(金额)  FROM 欠款管理 where 日期 = #2009-04-26#",
           "Select sum(金额)  FROM 欠款管理 where 日期 = '2009-04-26'"),
        to("StatisticsDebtUpdate", "UPDATE 销售统计 SET 欠款总额=700 WHERE 日期 = #2009-04-26#",
           "UPDATE 销售统计 SET 欠款总额=700 WHERE 日期 = '2009-04-26'"),
        same("StatisticsDebtInsert", "insert into 销售统计 (日期,欠款总额) values('2009-04-26',700)"),
        to("RawSalesDaySums", "Select SUM(重量),sum(总金额),sum(实收款)  FROM 销售记录 where (毛净茶 = '毛茶') and (日期 = #2009-4-26#)",
           "Select SUM(重量),sum(总金额),sum(实收款)  FROM 销售记录 where (毛净茶 = '毛茶') and (日期 = '2009-04-26')"),
        to("NetSalesDaySums", "Select SUM(重量),sum(总金额),sum(实收款)  FROM 销售记录 where (毛净茶 = '净茶') and (日期 = #2009-04-26#)",
           "Select SUM(重量),sum(总金额),sum(实收款)  FROM 销售记录 where (毛净茶 = '净茶') and (日期 = '2009-04-26')"),
        same("StatisticsSalesInsert", "insert into 销售统计(日期,毛净茶,总重量,总金额,实收款)values('2009-04-26','毛茶',12.5,1100,1000)"),
        to("StatisticsSalesUpdate", "UPDATE 销售统计 SET 毛净茶='净茶',总重量=2.5,总金额=220,实收款=200 WHERE 日期 = #2009-04-26#",
           "UPDATE 销售统计 SET 毛净茶='净茶',总重量=2.5,总金额=220,实收款=200 WHERE 日期 = '2009-04-26'"),
        to("StatisticsEmpty", "delete * FROM 销售统计", "delete FROM 销售统计"),
        same("StatisticsList", "Select * FROM 销售统计 Order By 日期 ASC"),
        to("StatisticsOfDay", "Select * FROM 销售统计 where 日期 = #2009-04-26#", "Select * FROM 销售统计 where 日期 = '2009-04-26'"),
        same("SettlementLot", "Select * From 库存管理 where 编号=" + q("T0426013") + " Order By ID ASC"),
        same("LotSalesNoBlankAfterQuote", "Select * From 销售记录 where 编号 = " + q("T0426013") + "Order By ID DESC"),
        same("LotReceivedSum", "Select sum(实收款) From 销售记录 where 编号 = " + q("T0426013")),
        to("Settle", "UPDATE 库存管理 SET 利润总额 =" + QString("1000") + ",剩余重量 = 0 " + ",结算 = true " + " WHERE ID = 7",
           "UPDATE 库存管理 SET 利润总额 =1000,剩余重量 = 0 ,结算 = 1  WHERE ID = 7"),

        // contact book
        same("SuppliersBook", "Select * From 通讯管理 where 类型 = '供应商'"),
        same("CustomersBook", "Select * From 通讯管理 where 类型 = '客户'"),
        same("ContactInsert", "insert into 通讯管理(名称,联系人,电话,手机,传真,开户银行,银行账号,地址,备注,类型)values("
                                  + supplier + "," + q("王五") + ",'0595-1234567','13800000000','','农业银行',"
                                  + "'6228 4800',"+ q("安溪县城厢镇") + "," + q("备注：\n老客户") + ",'供应商')"),
        same("ContactUpdate", "UPDATE 通讯管理 SET 名称=" + supplier + ",联系人=" + q("王五") + ",电话='0595-1234567',手机='',"
                                  + "传真='',开户银行='',银行账号='',地址=" + q("安溪") + ",备注=" + q("") + " WHERE ID = 5"),
        same("ContactUpdateSupplierTail", "UPDATE 通讯管理 SET 名称=" + supplier + ",联系人='',电话='',手机='',传真='',开户银行='',"
                                              + "银行账号='',地址='',备注=" + q("备注：") + " WHERE  ID =5"),
        same("ContactDelete", "DELETE FROM 通讯管理 WHERE ID = 5"),
        same("ContactsNewestFirst", "Select * From 通讯管理 Order By ID DESC"),
        same("ContactsByName", "Select * From 通讯管理 where 名称=" + supplier + " Order By ID DESC"),
        same("SupplierNames", "Select 名称 From 通讯管理 where 类型 = '供应商'"),

        // notepad
        same("NotesOfUser", "Select * From 记事本 where 用户名= " + q("admin") + " Order By 用户名 DESC"),
        same("NoteInsert", "insert into 记事本(用户名,标题,修改日期,提醒,提醒时间,内容)values(" + q("admin") + "," + q("进货")
                               + ",'2009-04-26','-1','2009-04-27 08:05:00'," + q("内容：\n找'王五'订 #3 货") + ")"),
        same("NoteUpdate", "UPDATE 记事本 SET 用户名=" + q("admin") + ",标题=" + q("进货") + ",修改日期='2009-04-26',提醒='0',"
                               + "提醒时间='2009-04-27 08:05:00',内容=" + q("内容：") + " WHERE ID = 1"),
        same("NoteDelete", "DELETE FROM 记事本 WHERE ID = 1"),

        // dealer directory cache
        same("DealerSlot", "select * from TeaGG where 栏位 = " + q("3")),
        same("DealersAll", "select * from TeaGG"),
        same("DealerSlots", "select 栏位,编号 from TeaGG"),
        same("DealerSlotDelete", "DELETE FROM TeaGG WHERE 栏位=" + q("3")),
        same("DealerInsert", "insert into TeaGG(公司名称,联系人,商农,电话,传真,手机,在线QQ,Email,网站,地址,简介,栏位,更新时间,编号)values("
                                 + q("八马茶行") + ",'陈六','商','0595-7654321','','13900000000','10001','chen@example.com',"
                                 + "'www.example.com'," + q("安溪") + "," + q("主营'铁观音'\n批发零售") + ",'3','2009-04-26 08:05:00','G003')"),
    };
}

class DialectStatements : public ::testing::TestWithParam<StatementCase> {};

TEST_P(DialectStatements, TranslateToSqlite)
{
    EXPECT_EQ(TranslateSql(GetParam().sql).toStdString(), GetParam().expected.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Dialect, DialectStatements, ::testing::ValuesIn(programStatements()),
                         [](const ::testing::TestParamInfo<StatementCase> &info) { return info.param.name; });

// The translation rules themselves, on statements made up to reach their edges.
struct RuleCase {
    const char *sql;
    const char *expected;
};

void PrintTo(const RuleCase &c, std::ostream *os)
{
    *os << c.sql;
}

class DialectRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(DialectRules, Translate)
{
    EXPECT_EQ(TranslateSql(QString::fromUtf8(GetParam().sql)).toStdString(), std::string(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    DialectDates, DialectRules,
    ::testing::Values(RuleCase{"where d=#2009-4-26#", "where d='2009-04-26'"},
                      RuleCase{"where d=#2009-04-06#", "where d='2009-04-06'"},
                      RuleCase{"where d=#2009/4/6#", "where d='2009-04-06'"},
                      RuleCase{"where d=#2009-12-31#or x=1", "where d='2009-12-31'or x=1"},
                      RuleCase{"where d=# 2009-4-26 #", "where d='2009-04-26'"},
                      RuleCase{"where d=#2009-4-26 8:05:00#", "where d='2009-04-26 08:05:00'"},
                      RuleCase{"where d=#2009-4-26 8:05#", "where d='2009-04-26 08:05:00'"},
                      RuleCase{"where d=#2009-4-26  23:59:59#", "where d='2009-04-26 23:59:59'"},
                      RuleCase{"where d=#2008-2-29#", "where d='2008-02-29'"},
                      RuleCase{"where d between #2009-4-1# and #2009-4-30#", "where d between '2009-04-01' and '2009-04-30'"}));

// Written straight against a quote, a translated literal would merge with it into one text.
INSTANTIATE_TEST_SUITE_P(
    DialectDatesStayApart, DialectRules,
    ::testing::Values(RuleCase{"select 'a'#2009-04-26#", "select 'a' '2009-04-26'"},
                      RuleCase{"select #2009-04-26##2009-04-27#", "select '2009-04-26' '2009-04-27'"},
                      RuleCase{"select #2009-04-26#'a'", "select '2009-04-26' 'a'"},
                      RuleCase{"select 'a'#2009-4-26##2009-4-27#'b'", "select 'a' '2009-04-26' '2009-04-27' 'b'"},
                      RuleCase{"select \"a\"#2009-04-26#[b]", "select \"a\"'2009-04-26'[b]"}));

INSTANTIATE_TEST_SUITE_P(
    DialectBooleans, DialectRules,
    ::testing::Values(RuleCase{"where 配茶 = TRUE", "where 配茶 = 1"}, RuleCase{"where 配茶 = False", "where 配茶 = 0"},
                      RuleCase{"where 配茶=tRuE and 结算=false", "where 配茶=1 and 结算=0"},
                      RuleCase{"where (配茶=true)", "where (配茶=1)"},
                      RuleCase{"set 配茶true=1, true1=2, _true=3, true_=4, 配茶true配=5", "set 配茶true=1, true1=2, _true=3, true_=4, 配茶true配=5"},
                      RuleCase{"select \"true\", [false], `true` from t", "select \"true\", [false], `true` from t"},
                      RuleCase{"where a='true' and b=true", "where a='true' and b=1"},
                      RuleCase{"where a='' and b=true", "where a='' and b=1"},
                      RuleCase{"values('it''s true',true)", "values('it''s true',1)"},
                      RuleCase{"where 名称='配茶'and 配茶=true", "where 名称='配茶'and 配茶=1"}));

INSTANTIATE_TEST_SUITE_P(
    DialectDeleteStar, DialectRules,
    ::testing::Values(RuleCase{"delete * from t", "delete from t"}, RuleCase{"DELETE  *  FROM t", "DELETE FROM t"},
                      RuleCase{"Delete\t*\r\nFrom t", "Delete From t"}, RuleCase{"delete*from t", "delete from t"},
                      RuleCase{"delete from t", "delete from t"},
                      RuleCase{"delete * fromage", "delete * fromage"},
                      RuleCase{"undelete * from t", "undelete * from t"},
                      RuleCase{"update t set a='delete * from t'", "update t set a='delete * from t'"}));

INSTANTIATE_TEST_SUITE_P(
    DialectUntouched, DialectRules,
    ::testing::Values(RuleCase{"", ""}, RuleCase{"Select * From 库存管理 where  编号='x'Order By ID DESC",
                                                  "Select * From 库存管理 where  编号='x'Order By ID DESC"},
                      RuleCase{"update t set a='#2009-13-45#'", "update t set a='#2009-13-45#'"},
                      RuleCase{"update t set a='#'", "update t set a='#'"},
                      RuleCase{"select [a#b], \"c#d\" from t", "select [a#b], \"c#d\" from t"},
                      RuleCase{"update t set a='第一行\r\n第二行 true\n''#''' where b=1", "update t set a='第一行\r\n第二行 true\n''#''' where b=1"},
                      RuleCase{"sElEcT  名称  FrOm  通讯管理", "sElEcT  名称  FrOm  通讯管理"},
                      RuleCase{"select x'414243'", "select x'414243'"}));

// An unterminated quote leaves the whole statement as it came, for the engine to refuse.
INSTANTIATE_TEST_SUITE_P(
    DialectUnterminated, DialectRules,
    ::testing::Values(RuleCase{"update t set a=true, d=#2009-4-26#, b='O'Brien' where c=1",
                               "update t set a=true, d=#2009-4-26#, b='O'Brien' where c=1"},
                      RuleCase{"select * from t where a='abc", "select * from t where a='abc"},
                      RuleCase{"select * from t where a='it''s", "select * from t where a='it''s"},
                      RuleCase{"select \"true from t", "select \"true from t"},
                      RuleCase{"select [true from t", "select [true from t"}));

// A # that starts no date is refused: SQLite would read "#name" as an empty parameter and
// quietly match nothing instead of failing.
struct InvalidDateCase {
    const char *sql;
    const char *literal; // as the message names it
};

void PrintTo(const InvalidDateCase &c, std::ostream *os)
{
    *os << c.sql;
}

class DialectInvalidDate : public ::testing::TestWithParam<InvalidDateCase> {};

TEST_P(DialectInvalidDate, IsRefusedNamingTheLiteral)
{
    try {
        TranslateSql(QString::fromUtf8(GetParam().sql));
        FAIL() << "translated: " << GetParam().sql;
    } catch (const DbError &e) {
        EXPECT_EQ(e.text().toStdString(), "'" + std::string(GetParam().literal) + "' is not a valid date");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Dialect, DialectInvalidDate,
    ::testing::Values(InvalidDateCase{"where d=#2009-13-01#", "#2009-13-01#"},
                      InvalidDateCase{"where d=#2009-2-29#", "#2009-2-29#"},
                      InvalidDateCase{"where d=#2009-4-31#", "#2009-4-31#"},
                      InvalidDateCase{"where d=#4/26/2009#", "#4/26/2009#"},
                      InvalidDateCase{"where d=#09-4-26#", "#09-4-26#"},
                      InvalidDateCase{"where d=#2009-4/26#", "#2009-4/26#"},
                      InvalidDateCase{"where d=#2009-4-26 24:00:00#", "#2009-4-26 24:00:00#"},
                      InvalidDateCase{"where d=#2009-4-26 8:60#", "#2009-4-26 8:60#"},
                      InvalidDateCase{"where d=#2009-4-26 8#", "#2009-4-26 8#"},
                      InvalidDateCase{"where d=#2009-4-26 8:05 PM#", "#2009-4-26 8:05 PM#"},
                      InvalidDateCase{"where d=#abc#", "#abc#"},
                      InvalidDateCase{"where d=##", "##"},
                      InvalidDateCase{"where d=# #", "# #"},
                      InvalidDateCase{"where d=#２００９-4-26#", "#２００９-4-26#"},
                      InvalidDateCase{"where d=#2009-4-26", "#2009-4-26"},
                      InvalidDateCase{"where d=#", "#"},
                      InvalidDateCase{"where d=#2009-4-26# and e=#x#", "#x#"},
                      InvalidDateCase{"where d=#abc and b='#'", "#abc and b='#"}));

TEST(DialectQuoting, QuotedStrDoublesEveryQuote)
{
    const struct {
        const char *value;
        const char *quoted;
    } cases[] = {
        {"", "''"},
        {"O'Brien", "'O''Brien'"},
        {"'", "''''"},
        {"''", "''''''"},
        {"a'b'c'", "'a''b''c'''"},
        {"铁观音", "'铁观音'"},
        {"第一行\r\n第二行", "'第一行\r\n第二行'"},
        {"\"[x]\"", "'\"[x]\"'"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(QuotedStr(QString::fromUtf8(c.value)).toStdString(), std::string(c.quoted)) << c.value;
}

TEST(DialectQuoting, QuotedValuesPassTheTranslationUnchanged)
{
    const char *values[] = {"#2009-4-26#", "true", "FALSE", "delete * from 销售统计", "#", "x' or '1'='1",
                            "a'#b#'c", "[true", "\"", "--", "'; delete * from 库存管理; '"};
    for (const char *v : values) {
        const QString sql = "update t set a=" + QuotedStr(QString::fromUtf8(v)) + " where b=true";
        EXPECT_EQ(TranslateSql(sql).toStdString(), (sql.chopped(4) + "1").toStdString()) << v;
    }
}

TEST(DialectQuoting, DateLiteralTranslatesToTheStoredDateText)
{
    EXPECT_EQ(DateLiteral(QDate(2009, 4, 6)).toStdString(), "#2009-04-06#");
    EXPECT_EQ(TranslateSql("where d=" + DateLiteral(QDate(2009, 4, 6))).toStdString(), "where d='2009-04-06'");
    EXPECT_THROW(TranslateSql("where d=" + DateLiteral(QDate())), DbError);
}

// Every translated statement must be one the engine accepts against the real schema:
// invalid SQL, a misspelt column or a value the column types refuse all fail here.
class DialectSchema : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(sqlite3_open(":memory:", &m_db), SQLITE_OK);
        for (const QString &s : SchemaStatements())
            ASSERT_EQ(sqlite3_exec(m_db, s.toUtf8().constData(), nullptr, nullptr, nullptr), SQLITE_OK)
                << s.toStdString() << ": " << sqlite3_errmsg(m_db);
    }
    void TearDown() override { sqlite3_close(m_db); }

    // Prepares and runs the statement; an empty text when the engine accepted it, else its message.
    std::string run(const QString &sql, QString *firstValue = nullptr)
    {
        const QByteArray utf8 = sql.toUtf8();
        sqlite3_stmt *stmt = nullptr;
        const char *tail = nullptr;
        if (sqlite3_prepare_v2(m_db, utf8.constData(), int(utf8.size()), &stmt, &tail) != SQLITE_OK)
            return std::string("prepare: ") + sqlite3_errmsg(m_db);
        std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
        if (!stmt)
            return "no statement";
        if (tail && !QString::fromUtf8(tail).trimmed().isEmpty())
            return std::string("text after the statement: ") + tail;
        int rc = sqlite3_step(stmt);
        if (firstValue)
            *firstValue = rc == SQLITE_ROW ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)))
                                           : QString();
        while (rc == SQLITE_ROW)
            rc = sqlite3_step(stmt);
        if (rc != SQLITE_DONE)
            return std::string("step: ") + sqlite3_errmsg(m_db);
        return {};
    }

    sqlite3 *m_db = nullptr;
};

TEST_F(DialectSchema, EveryProgramStatementRunsOnTheSchema)
{
    for (const StatementCase &c : programStatements())
        EXPECT_EQ(run(TranslateSql(c.sql)), "") << c.name << ": " << TranslateSql(c.sql).toStdString();
}

TEST_F(DialectSchema, ADateLiteralBesideAQuoteIsNeverPartOfTheText)
{
    const struct {
        const char *sql;
        const char *first; // the first column, when the engine takes the statement
    } cases[] = {
        {"select 'a'#2009-04-26#", "a"},
        {"select #2009-04-26##2009-04-27#", "2009-04-26"},
        {"select #2009-04-26#'a'", "2009-04-26"},
    };
    for (const auto &c : cases) {
        QString value;
        ASSERT_EQ(run(TranslateSql(QString::fromUtf8(c.sql)), &value), "") << c.sql;
        EXPECT_EQ(value.toStdString(), std::string(c.first)) << c.sql;
    }
}

TEST_F(DialectSchema, LooseDateLiteralsFindTheStoredDates)
{
    ASSERT_EQ(run("insert into 支出管理(日期,金额,事项) values('2009-04-06',10,'a')"), "");
    ASSERT_EQ(run("insert into 支出管理(日期,金额,事项) values('2009-04-06',2.5,'b')"), "");
    ASSERT_EQ(run("insert into 支出管理(日期,金额,事项) values('2009-04-16',7,'c')"), "");
    const struct {
        const char *sql;
        const char *sum;
    } cases[] = {
        {"Select sum(金额)  FROM 支出管理 where 日期 = #2009-4-6#", "12.5"},
        {"Select sum(金额)  FROM 支出管理 where 日期 = #2009/04/06#", "12.5"},
        {"Select sum(金额)  FROM 支出管理 where 日期 = #2009-4-16#", "7.0"},
        {"Select sum(金额)  FROM 支出管理 where 日期 = #2009-4-7#", ""}, // no rows: NULL
        {"Select sum(金额)  FROM 支出管理 where 日期 > #2009-4-6#", "7.0"},
    };
    for (const auto &c : cases) {
        QString value;
        ASSERT_EQ(run(TranslateSql(QString::fromUtf8(c.sql)), &value), "") << c.sql;
        EXPECT_EQ(value.toStdString(), std::string(c.sum)) << c.sql;
    }
}

} // namespace
