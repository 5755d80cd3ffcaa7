-- The empty record store "gp.mdb": daily snapshots (sj) and holdings (cy).
-- Every value is text; an empty text is stored as null. AUTOINCREMENT keeps a deleted id
-- from ever being handed out again, so a stale id can never reach a newer row.
create table sj(
  id integer primary key autoincrement,
  日期 text,
  股票代码 text,
  股票名称 text,
  今开盘价 text,
  昨收盘价 text,
  当前价格 text,
  最高价 text,
  最低价 text,
  成交量 text,
  成交金额 text,
  涨跌 text,
  时间 text,
  盈亏金额 text
);
create index sj_股票代码_日期 on sj(股票代码, 日期);
create table cy(
  id integer primary key autoincrement,
  购买日期 text,
  股票代码 text,
  股票名称 text,
  购买股数 text,
  购买价 text,
  总价 text,
  现价 text,
  盈亏金额 text,
  盈亏率 text,
  更新时间 text
);
